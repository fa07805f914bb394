// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"

namespace tb {

// The process-wide socket layer object. It exists while at least one
// TIdComponent exists: the first component creates it, the last destroys it,
// both under one process-wide lock.
class TIdStack {
 public:
  // The stack of the process, or nullptr while no component exists.
  static TIdStack* Instance();
  static void AddComponent();
  static void RemoveComponent();

  // The host's IPv4 addresses (see tb::ListHostAddresses).
  std::vector<AnsiString> ListHostAddresses() const;

  // "LOCALHOST" in any letter case is 127.0.0.1, a dotted address stands for
  // itself, anything else is looked up; a failed look-up raises EIdSocketError.
  static Ipv4 ResolveHost(const AnsiString& host);

  // Raises EIdSocketError for a code of the platform's socket layer.
  [[noreturn]] static void RaiseSocketError(int code);

 private:
  TIdStack() = default;
};

// The addresses a program bound to "this host" can be reached on, in the
// system's order (socketlayer::HostAddresses says where they come from). May
// be empty. Starts the socket layer for the call if no component has. Raises
// EIdSocketError when the system cannot tell: on Windows when
// the host's own name does not resolve, elsewhere when the interfaces cannot
// be listed.
std::vector<AnsiString> ListHostAddresses();

}  // namespace tb
