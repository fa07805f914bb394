// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "common/AnsiString.h"
#include "core/TargetList.h"
#include "net/LocalInterfaces.h"

namespace tb {

class TIdUDPServer;

// Latin-1 texts of the program's own message boxes.
inline constexpr const char* CommunicationErrorText = "Error de comunicaci\xf3n";
inline constexpr const char* NoLocalAddressText =
    "No se ha detectado direcci\xf3n IP Local en esta PC.";

// Sends `text` to port 998 of every listed interface's directed broadcast
// address (skipping the one whose address is "127.0.0.1"), from the binding
// on that interface's address where there is one; then to 255.255.255.255,
// from the sending binding and from every other bound binding. Every failure
// is reported through `showMessage` and the function always returns normally.
void SendCommandFanOut(const AnsiString& text, TIdUDPServer& server,
                       const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
                       const std::function<void(const AnsiString&)>& showMessage);

// As SendCommandFanOut, but from the bindings on `fromAddresses` alone: to
// their networks' directed broadcasts and to 255.255.255.255 from each. A
// configuration request, password and all, so reaches only the networks its
// device was heard on, not every bridge, tunnel and guest network of the
// computer. Falls back to SendCommandFanOut while the endpoint is inactive
// or none of the addresses is bound.
void SendCommandFanOutFrom(
    const AnsiString& text, TIdUDPServer& server, const std::set<AnsiString>& fromAddresses,
    const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
    const std::function<void(const AnsiString&)>& showMessage);

// Sends `text` by unicast to port 998 of every destination of `targets`
// (TargetDestinations), each once. Each entry's datagrams leave from the
// binding on the local address that `routeSource` gives for the entry's
// first destination: a listed network is reached by one route, and asking
// the system once per datagram would halve the sweep's pace. A local
// address without a binding sends from the sending binding. A target
// without a route, or whose sends fail, is reported once through
// `showMessage`, and the others are still asked.
void SendToTargets(const AnsiString& text, TIdUDPServer& server,
                   const std::vector<TargetEntry>& targets,
                   const std::function<Ipv4(Ipv4)>& routeSource,
                   const std::function<void(const AnsiString&)>& showMessage);

// One binding on port 998 per distinct host address, in the given order; tells the
// user when there is none. An address list that cannot be had counts as empty.
void SetUpBindings(TIdUDPServer& server,
                   const std::function<std::vector<AnsiString>()>& listHostAddresses,
                   const std::function<void(const AnsiString&)>& showMessage);

}  // namespace tb
