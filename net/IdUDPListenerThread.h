// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "net/IdThread.h"
#include "net/SocketLayer.h"

namespace tb {

class TIdUDPServer;

// Waits on all of an endpoint's sockets at once and reads every datagram
// they hold, as fast as they give them, into the endpoint's queue; the
// handler takes them from there at its own pace.
class TIdUDPListenerThread : public TIdThread {
 public:
  static constexpr int WaitTimeMs = 1000;
  static constexpr int MaxSockets = 64;
  // Datagrams taken from the system in one call, and calls on one socket
  // before the next readable socket has its turn.
  static constexpr std::size_t BatchSize = 32;
  static constexpr int BatchesPerTurn = 32;
  // How long datagrams may wait in the queue before the GUI thread is woken
  // for them while more keep coming. Waking it for each one would cost more
  // than handling it; a millisecond is nothing against a listening window.
  static constexpr int HandOverDelayMs = 1;

  TIdUDPListenerThread(TIdUDPServer& server, int receiveSize);
  ~TIdUDPListenerThread() override;

  // Any other thread: wakes the listener and waits, at most `limit`, until
  // it has read every socket dry in a pass that began after the call, so
  // that whatever the system had received by then is in the queue. False
  // when the limit passed first.
  bool WaitForDryPass(std::chrono::milliseconds limit);

 protected:
  void Run() override;
  void StopRequested() override { waker_.Wake(); }

 private:
  // True when the socket was read dry.
  bool Drain(socketlayer::Handle socket);
  void HandOver(bool quiet);

  TIdUDPServer& server_;
  std::size_t receiveSize_;
  std::vector<char> buffers_;  // BatchSize buffers of receiveSize_ bytes, reused
  std::vector<socketlayer::Datagram> received_;
  socketlayer::Waker waker_;
  std::vector<socketlayer::Handle> sockets_;
  std::vector<socketlayer::Handle> readable_;
  bool wakeOwed_ = false;  // queued datagrams the GUI thread has not been woken for
  // Passes begun, and the number of the latest one that left every socket
  // dry; guarded by passLock_, watched by WaitForDryPass.
  std::mutex passLock_;
  std::condition_variable passDone_;
  std::uint64_t passesBegun_ = 0;
  std::uint64_t lastDryPass_ = 0;
  std::chrono::steady_clock::time_point owedSince_;
};

}  // namespace tb
