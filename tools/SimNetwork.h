// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"

namespace tb::sim {

struct Incoming {
  AnsiString data;
  Ipv4 from = 0;
  int fromPort = 0;
  Ipv4 to = 0;  // destination address in the datagram's header
  int interfaceIndex = 0;
};

// The simulator's one socket: any address (or a given one), the device port,
// broadcast allowed, arrival interface and destination reported.
class SimSocket {
 public:
  SimSocket() = default;
  SimSocket(const SimSocket&) = delete;
  SimSocket& operator=(const SimSocket&) = delete;
  ~SimSocket();

  std::string Open(Ipv4 address, int port);
  int Fd() const { return fd_; }
  // One pending datagram; false when none could be read.
  bool Receive(Incoming& incoming);
  // Out of interface `interfaceIndex` (0: by routing), from `source` (0: by
  // routing); error text or empty.
  std::string Send(const AnsiString& data, Ipv4 address, int port, int interfaceIndex,
                   Ipv4 source = 0);

 private:
  int fd_ = -1;
};

// The directed broadcast address of the first IPv4 address on an interface.
Ipv4 InterfaceBroadcast(int interfaceIndex);
std::string InterfaceName(int interfaceIndex);

}  // namespace tb::sim
