// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"

namespace tb {

// One interface that holds a bound address, and the network there.
struct ReceiverPlace {
  int binding = 0;  // index into the bound addresses
  int interfaceIndex = 0;
  Ipv4 network = 0;
  Ipv4 netmask = 0;

  bool Holds(Ipv4 address) const { return (address & netmask) == network; }
};

// One broadcast receiver to open, for one binding.
struct PlannedReceiver {
  Ipv4 address = 0;
  int binding = 0;
};

// Where each bound address is on the interfaces but the loopback one. A
// socket on any address hears broadcasts itself, so AnyAddress is nowhere.
std::vector<ReceiverPlace> LocateBoundAddresses(
    const std::vector<Ipv4>& bound, const std::vector<socketlayer::InterfaceAddress>& interfaces);

// The broadcast receivers for those places, in the order they are opened:
// the network's directed broadcast address, unless a host mask makes it the
// bound address itself, then 255.255.255.255. Repeats are left in; the
// opener skips an address and port it already has.
std::vector<PlannedReceiver> PlanReceivers(const std::vector<ReceiverPlace>& places,
                                           const std::vector<Ipv4>& bound);

}  // namespace tb
