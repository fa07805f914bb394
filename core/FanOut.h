// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <set>
#include <vector>

#include "common/AnsiString.h"
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

// One binding on port 998 per distinct host address, in the given order; tells the
// user when there is none. An address list that cannot be had counts as empty.
void SetUpBindings(TIdUDPServer& server,
                   const std::function<std::vector<AnsiString>()>& listHostAddresses,
                   const std::function<void(const AnsiString&)>& showMessage);

}  // namespace tb
