// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "net/IdSocketHandles.h"
#include "net/ReceiverPlan.h"
#include "net/SocketLayer.h"

namespace tb {

// Receive-only sockets beside the bindings. On a platform where a socket
// bound to a unicast address never sees broadcasts, a device that answers by
// directed or limited broadcast would go unheard; these sockets, one per local
// network's directed broadcast address and one on 255.255.255.255, all on the
// bindings' port, hear those answers. A datagram they receive is credited to
// a binding on the interface it arrived on, the one whose network holds the
// sender where there is one, so the rest of the endpoint sees only its
// bindings.
class TBroadcastReceivers {
 public:
  TBroadcastReceivers() = default;
  TBroadcastReceivers(const TBroadcastReceivers&) = delete;
  TBroadcastReceivers& operator=(const TBroadcastReceivers&) = delete;
  ~TBroadcastReceivers() { Close(); }

  // After the bindings are bound. Receivers that cannot be opened are left
  // out: the bindings still receive every unicast answer. Each asks for a
  // receive buffer of `receiveBuffer` bytes.
  void Open(const TIdSocketHandles& bindings, int receiveBuffer);
  void Close();

  void Collect(std::vector<socketlayer::Handle>& sockets) const;
  // The binding that a datagram on `socket`, arrived on `interfaceIndex`,
  // belongs to; nullptr for the endpoint's own broadcasts, which the system
  // loops back to these sockets and which must not read as answers. Called
  // by the listener alone between Open and Close.
  TIdSocketHandle* BindingFor(socketlayer::Handle socket, int interfaceIndex, Ipv4 source,
                              int sourcePort, TIdSocketHandles& bindings);

 private:
  struct Receiver {
    socketlayer::Handle socket;
    Ipv4 address;
    int port;
  };
  // Where each binding's address is, from the system's interface list as it is now.
  void Locate(const TIdSocketHandles& bindings);
  void OpenOne(Ipv4 address, int port, int receiveBuffer);

  std::vector<Receiver> receivers_;
  std::vector<ReceiverPlace> places_;
  // Every arrival interface the places were last located for, and those seen
  // since, so that only an interface never seen before makes them be located again.
  std::vector<int> knownInterfaces_;
};

}  // namespace tb
