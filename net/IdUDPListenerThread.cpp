#include "IdUDPListenerThread.h"

#include <algorithm>

#include "IdException.h"
#include "IdUDPServer.h"

namespace tb {

TIdUDPListenerThread::TIdUDPListenerThread(TIdUDPServer& server, int receiveSize)
    : TIdThread(TIdThreadStopMode::Terminate),
      server_(server),
      receiveSize_(static_cast<std::size_t>(std::max(receiveSize, 0))) {}

TIdUDPListenerThread::~TIdUDPListenerThread() {
  Stop();
  WaitFor();
}

void TIdUDPListenerThread::Run() {
  server_.CollectSockets(sockets_);
  if (server_.Bindings().Count() > MaxSockets) {
    throw EIdStackSetSizeExceeded();
  }
  bool woken = false;
  socketlayer::Wait(sockets_, &waker_, WaitTimeMs, readable_, woken);
  for (const socketlayer::Handle socket : readable_) {
    if (Stopped()) {
      break;
    }
    try {
      ReceiveOne(socket);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a lost datagram is never reported
    }
  }
}

void TIdUDPListenerThread::ReceiveOne(socketlayer::Handle socket) {
  buffer_.SetSize(receiveSize_);
  socketlayer::Datagram datagram;
  if (const int error = socketlayer::Receive(socket, buffer_.Memory(), receiveSize_, datagram);
      error != 0) {
    return;
  }
  // A datagram longer than the buffer would arrive cut short: drop it whole.
  if (datagram.truncated) {
    return;
  }
  binding_ = server_.BindingFor(socket, datagram);
  if (binding_ == nullptr) {
    return;
  }
  buffer_.SetSize(datagram.size);
  buffer_.SetPosition(0);
  binding_->SenderAddress = FormatDottedIPv4(datagram.sourceAddress);
  binding_->SenderPort = datagram.sourcePort;
  server_.Deliver(buffer_, *binding_);
}

}  // namespace tb
