// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/DatagramQueue.h"

#include <algorithm>
#include <utility>

namespace tb {

TDatagramQueue::Pushed TDatagramQueue::Push(TQueuedDatagram&& datagram) {
  const std::size_t charge = Charge(datagram);
  const std::lock_guard<std::mutex> guard(lock_);
  if (closed_) {
    return Pushed::Closed;
  }
  if (charge > limit_ - std::min(charged_, limit_)) {
    ++dropped_;
    return Pushed::Dropped;
  }
  charged_ += charge;
  items_.push_back(std::move(datagram));
  if (awake_) {
    return Pushed::Queued;
  }
  awake_ = true;
  return Pushed::QueuedWake;
}

bool TDatagramQueue::Take(std::deque<TQueuedDatagram>& batch, std::size_t most, std::size_t done) {
  batch.clear();
  const std::lock_guard<std::mutex> guard(lock_);
  charged_ -= std::min(done, charged_);
  if (closed_ || items_.empty()) {
    awake_ = false;
    return false;
  }
  const auto count = static_cast<std::ptrdiff_t>(std::min(most, items_.size()));
  std::move(items_.begin(), items_.begin() + count, std::back_inserter(batch));
  items_.erase(items_.begin(), items_.begin() + count);
  return true;
}

void TDatagramQueue::Close() {
  std::deque<TQueuedDatagram> dropped;
  const std::lock_guard<std::mutex> guard(lock_);
  closed_ = true;
  items_.swap(dropped);
  charged_ = 0;
}

bool TDatagramQueue::Closed() const { return closed_; }

std::uint64_t TDatagramQueue::Dropped() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return dropped_;
}

std::size_t TDatagramQueue::Charged() const {
  const std::lock_guard<std::mutex> guard(lock_);
  return charged_;
}

}  // namespace tb
