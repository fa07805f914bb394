// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"

namespace tb {

// The addresses that get a binding on port 998: each host address once, in
// the given order.
std::vector<AnsiString> BindingAddresses(const std::vector<AnsiString>& hostAddresses);

// Every address the endpoint listens on port 998 with, each once: the
// bindings that SetUpBindings makes of these host addresses, then the
// broadcast receivers that activating them adds on these interfaces, where
// the system needs them.
struct BindingPlan {
  std::vector<Ipv4> bindings;
  std::vector<Ipv4> receivers;
};
BindingPlan PlanBindings(const std::vector<AnsiString>& hostAddresses,
                         const std::vector<socketlayer::InterfaceAddress>& interfaces);

}  // namespace tb
