// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "net/Ipv4Address.h"

namespace tb {

class TIdSocketHandle;

// One received datagram on its way from the listener to the handler, with
// its own copy of the bytes.
struct TQueuedDatagram {
  std::vector<char> bytes;
  Ipv4 sourceAddress = 0;
  int sourcePort = 0;
  TIdSocketHandle* binding = nullptr;
  // How many datagrams the endpoint had read before this one.
  std::uint64_t arrival = 0;
  // When the system received it (socketlayer::Datagram::receivedNs).
  std::int64_t receivedNs = 0;
};

// The datagrams the listener has read and the handler has not yet seen, in
// arrival order. The listener reads as fast as the sockets give, whatever
// the handler's pace, so the kernel's buffers do not overflow; this queue
// takes the burst instead, up to a limit of bytes, and counts every datagram
// it has no room for. Each datagram is charged its payload plus a fixed
// share for its bookkeeping, so empty datagrams cannot grow it without end.
//
// One side pushes, the other takes: the taker owes the queue a wake-up
// answer. Push reports when the taker must be woken (the queue had been
// given up as empty); Take reports when it is empty, and from then on the
// next Push wakes again. So at most one wake-up is ever outstanding.
class TDatagramQueue {
 public:
  static constexpr std::size_t ChargePerDatagram = 64;

  explicit TDatagramQueue(std::size_t limitBytes) : limit_(limitBytes) {}
  TDatagramQueue(const TDatagramQueue&) = delete;
  TDatagramQueue& operator=(const TDatagramQueue&) = delete;
  ~TDatagramQueue() = default;

  enum class Pushed { Queued, QueuedWake, Dropped, Closed };
  // Listener side. Moves `datagram` in unless the queue is full or closed.
  Pushed Push(TQueuedDatagram&& datagram);

  // Taker side. Frees the room of the `done` bytes charged by the last batch
  // and moves up to `most` datagrams into `batch` (emptied first). False when
  // none is left or the queue is closed: the next Push wakes the taker again.
  bool Take(std::deque<TQueuedDatagram>& batch, std::size_t most, std::size_t done);

  // Drops everything queued; nothing is queued or taken afterwards.
  void Close();
  bool Closed() const;

  static std::size_t Charge(const TQueuedDatagram& datagram) {
    return datagram.bytes.size() + ChargePerDatagram;
  }
  std::uint64_t Dropped() const;
  // Bytes charged for the datagrams queued or taken and not yet done.
  std::size_t Charged() const;
  std::size_t Limit() const { return limit_; }

 private:
  mutable std::mutex lock_;
  std::deque<TQueuedDatagram> items_;
  std::size_t limit_;
  std::size_t charged_ = 0;
  std::uint64_t dropped_ = 0;
  bool awake_ = false;
  // Written under the lock; read without it, once per datagram delivered.
  std::atomic<bool> closed_{false};
};

}  // namespace tb
