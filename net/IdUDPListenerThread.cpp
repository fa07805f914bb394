#include "IdUDPListenerThread.h"

#include <algorithm>

#include "IdException.h"
#include "IdUDPServer.h"

namespace tb {

TIdUDPListenerThread::TIdUDPListenerThread(TIdUDPServer& server, int receiveSize)
    : TIdThread(TIdThreadStopMode::Terminate),
      server_(server),
      receiveSize_(static_cast<std::size_t>(std::max(receiveSize, 0))),
      buffers_(BatchSize * receiveSize_) {}

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
      Drain(socket);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a lost datagram is never reported
    }
  }
}

// A socket that gives a full batch may hold more: it is read again, up to a
// turn's worth, so that one busy socket cannot starve the others.
void TIdUDPListenerThread::Drain(socketlayer::Handle socket) {
  for (int batch = 0; batch < BatchesPerTurn && !Stopped(); ++batch) {
    if (socketlayer::ReceiveWaiting(socket, buffers_.data(), receiveSize_, BatchSize, received_) !=
        0) {
      return;
    }
    for (std::size_t i = 0; i < received_.size(); ++i) {
      const socketlayer::Datagram& datagram = received_[i];
      // A datagram longer than the buffer arrived cut short: drop it whole.
      if (datagram.truncated) {
        continue;
      }
      TIdSocketHandle* binding = server_.BindingFor(socket, datagram);
      if (binding == nullptr) {
        continue;
      }
      const char* bytes = buffers_.data() + i * receiveSize_;
      server_.Arrived(TQueuedDatagram{std::vector<char>(bytes, bytes + datagram.size),
                                      datagram.sourceAddress, datagram.sourcePort, binding});
    }
    server_.DeliverOnListener();
    if (received_.size() < BatchSize) {
      return;
    }
  }
}

}  // namespace tb
