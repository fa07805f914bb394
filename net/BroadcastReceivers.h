#pragma once

#include <vector>

#include "IdSocketHandles.h"
#include "SocketLayer.h"

namespace tb {

// Receive-only sockets beside the bindings. On a platform where a socket
// bound to a unicast address never sees broadcasts, a device that answers by
// directed or limited broadcast would go unheard; these sockets, one per local
// network's directed broadcast address and one on 255.255.255.255, all on the
// bindings' port, hear those answers. A datagram they receive is credited to
// the binding of the interface it arrived on, so the rest of the endpoint sees
// only its bindings.
class TBroadcastReceivers {
 public:
  TBroadcastReceivers() = default;
  TBroadcastReceivers(const TBroadcastReceivers&) = delete;
  TBroadcastReceivers& operator=(const TBroadcastReceivers&) = delete;
  ~TBroadcastReceivers() { Close(); }

  // After the bindings are bound. Receivers that cannot be opened are left
  // out: the bindings still receive every unicast answer.
  void Open(const TIdSocketHandles& bindings);
  void Close();

  void Collect(std::vector<socketlayer::Handle>& sockets) const;
  bool Owns(socketlayer::Handle socket) const;
  // The binding that a datagram on `socket`, arrived on `interfaceIndex`,
  // belongs to; nullptr for the endpoint's own broadcasts, which the system
  // loops back to these sockets and which must not read as answers.
  TIdSocketHandle* BindingFor(socketlayer::Handle socket, int interfaceIndex, Ipv4 source,
                              int sourcePort, TIdSocketHandles& bindings) const;

 private:
  struct Receiver {
    socketlayer::Handle socket;
    Ipv4 address;
    int port;
  };
  struct BindingPlace {
    int interfaceIndex = 0;
    Ipv4 network = 0;
    Ipv4 netmask = 0;
  };

  void OpenOne(Ipv4 address, int port);

  std::vector<Receiver> receivers_;
  std::vector<BindingPlace> places_;  // parallel to the bindings
};

}  // namespace tb
