// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdSocketHandle.h"

#include "net/IdException.h"
#include "net/IdStack.h"

namespace tb {

TIdSocketHandle::~TIdSocketHandle() { CloseSocket(); }

void TIdSocketHandle::AllocateSocket() {
  CloseSocket();
  int error = 0;
  const socketlayer::Handle s = socketlayer::OpenDatagram(error);
  if (s == socketlayer::InvalidHandle) {
    throw EIdInvalidSocket();
  }
  socket_ = s;
  socketOpen_ = true;
}

void TIdSocketHandle::Bind() {
  Ipv4 address = AnyAddress;
  if (!IP.empty()) {
    const auto parsed = ParseDottedIPv4(IP);
    if (!parsed) {
      TIdStack::RaiseSocketError(socketlayer::InvalidArgumentError());
    }
    address = *parsed;
  }
  if (const int error = socketlayer::Bind(socket_, address, Port); error != 0) {
    if (socketlayer::KindOf(error) == SocketErrorKind::AddressInUse) {
      throw EIdCouldNotBindSocket();
    }
    TIdStack::RaiseSocketError(error);
  }
  Ipv4 bound = 0;
  int port = 0;
  if (const int error = socketlayer::LocalAddress(socket_, bound, port); error != 0) {
    TIdStack::RaiseSocketError(error);
  }
  IP = FormatDottedIPv4(bound);
  Port = port;
}

void TIdSocketHandle::CloseSocket() {
  if (socketOpen_) {
    socketlayer::Close(socket_);
    socket_ = socketlayer::InvalidHandle;
    socketOpen_ = false;
  }
}

void TIdSocketHandle::SetBroadcast(bool enabled) {
  if (const int error = socketlayer::SetBroadcast(socket_, enabled); error != 0) {
    TIdStack::RaiseSocketError(error);
  }
}

void TIdSocketHandle::SendTo(Ipv4 address, int port, const AnsiString& data) {
  std::size_t sent = 0;
  if (const int error = socketlayer::SendTo(socket_, data.data(), data.size(), address, port, sent);
      error != 0) {
    if (socketlayer::KindOf(error) == SocketErrorKind::MessageTooLong) {
      throw EIdPackageSizeTooBig();
    }
    TIdStack::RaiseSocketError(error);
  }
  if (sent < data.size()) {
    throw EIdNotAllBytesSent();
  }
}

}  // namespace tb
