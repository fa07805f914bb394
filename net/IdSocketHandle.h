// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"

namespace tb {

// One binding of the endpoint: a local address and port with its own
// datagram socket once the endpoint is active.
class TIdSocketHandle {
 public:
  explicit TIdSocketHandle(int defaultPort) : Port(defaultPort) {}
  TIdSocketHandle(const TIdSocketHandle&) = delete;
  TIdSocketHandle& operator=(const TIdSocketHandle&) = delete;
  ~TIdSocketHandle();

 private:
  socketlayer::Handle socket_ = socketlayer::InvalidHandle;
  bool socketOpen_ = false;

 public:
  AnsiString IP;  // empty: any address
  AnsiString SenderAddress;
  int Port;
  int SenderPort = 0;
  int ClientPortMin = 0;
  int ClientPortMax = 0;

  bool HandleAllocated() const { return socketOpen_; }
  socketlayer::Handle Handle() const { return socket_; }

  // Raises EIdInvalidSocket.
  void AllocateSocket();
  // Binds to IP:Port and reads both back. Raises EIdCouldNotBindSocket when
  // the address and port are taken, EIdSocketError otherwise (also for an IP
  // that is not a dotted address).
  void Bind();
  void CloseSocket();
  // Raises EIdSocketError.
  void SetBroadcast(bool enabled);
  // Raises EIdPackageSizeTooBig, EIdSocketError or EIdNotAllBytesSent.
  void SendTo(Ipv4 address, int port, const AnsiString& data);
};

}  // namespace tb
