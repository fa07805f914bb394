// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdUDPListenerThread.h"

#include <algorithm>

#include "net/IdException.h"
#include "net/IdUDPServer.h"

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
  if (!readable_.empty()) {
    socketlayer::RestBetweenBatches();
  }
  bool woken = false;
  socketlayer::Wait(sockets_, &waker_, wakeOwed_ ? HandOverDelayMs : WaitTimeMs, readable_, woken);
  // Numbered once the wait is over, so a pass numbered above what a
  // WaitForDryPass saw reads only after that call began.
  std::uint64_t pass = 0;
  {
    const std::lock_guard<std::mutex> guard(passLock_);
    pass = ++passesBegun_;
  }
  bool dry = true;
  for (const socketlayer::Handle socket : readable_) {
    if (Stopped()) {
      dry = false;
      break;
    }
    try {
      dry = Drain(socket) && dry;
    } catch (...) {  // NOLINT(bugprone-empty-catch): a lost datagram is never reported
    }
  }
  HandOver(readable_.empty());
  if (dry) {
    {
      const std::lock_guard<std::mutex> guard(passLock_);
      lastDryPass_ = pass;
    }
    passDone_.notify_all();
  }
}

bool TIdUDPListenerThread::WaitForDryPass(std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> lock(passLock_);
  const std::uint64_t after = passesBegun_;
  waker_.Wake();
  return passDone_.wait_for(lock, limit, [&] { return lastDryPass_ > after; });
}

// At once when the sockets have gone quiet, else once the oldest datagram
// not yet handed over has waited its delay.
void TIdUDPListenerThread::HandOver(bool quiet) {
  if (wakeOwed_ && (quiet || std::chrono::steady_clock::now() - owedSince_ >=
                                 std::chrono::milliseconds(HandOverDelayMs))) {
    wakeOwed_ = false;
    server_.WakeDeliveries();
  }
}

// A socket that gives a full batch may hold more: it is read again, up to a
// turn's worth, so that one busy socket cannot starve the others.
bool TIdUDPListenerThread::Drain(socketlayer::Handle socket) {
  for (int batch = 0; batch < BatchesPerTurn && !Stopped(); ++batch) {
    if (socketlayer::ReceiveWaiting(socket, buffers_.data(), receiveSize_, BatchSize, received_) !=
        0) {
      return true;
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
      if (server_.Arrived(TQueuedDatagram{std::vector<char>(bytes, bytes + datagram.size),
                                          datagram.sourceAddress, datagram.sourcePort, binding, 0,
                                          datagram.receivedNs}) &&
          !wakeOwed_) {
        wakeOwed_ = true;
        owedSince_ = std::chrono::steady_clock::now();
      }
    }
    server_.DeliverOnListener();
    if (received_.size() < BatchSize) {
      return true;
    }
  }
  return false;
}

}  // namespace tb
