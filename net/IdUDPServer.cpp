// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdUDPServer.h"

#include <chrono>
#include <utility>

#include "net/GuiHandOver.h"
#include "net/IdUDPListenerThread.h"

namespace tb {

namespace {

// How long the GUI thread hands datagrams over before it lets its other
// events (timers, input, painting) run; short against the 100 ms in which a
// window must answer, long against the cost of one turn.
constexpr auto DeliveryTurn = std::chrono::milliseconds(5);
// Datagrams taken from the queue at once.
constexpr std::size_t TakeAtOnce = 256;

}  // namespace

TIdUDPServer::TIdUDPServer(void* /*parent*/)
    : DefaultPort(bindings_.DefaultPort), handOver_(std::make_unique<TGuiHandOver>()) {}

TIdUDPServer::~TIdUDPServer() {
  // A subclass is already gone here: this class's own closing is the one meant.
  TIdUDPServer::CloseBinding();
  receivers_.Close();
}

bool TIdUDPServer::GetActive() const { return active_; }

std::uint64_t TIdUDPServer::DroppedDatagrams() const {
  return droppedBefore_ + (queue_ ? queue_->Dropped() : 0);
}

TIdSocketHandle& TIdUDPServer::GetBinding() {
  if (sendingBinding_.load() == nullptr) {
    Activate();
  }
  return *sendingBinding_.load();
}

void TIdUDPServer::Activate() {
  if (bindings_.Count() == 0) {
    bindings_.Add();
  }
  for (int i = 0; i < bindings_.Count(); ++i) {
    TIdSocketHandle& binding = bindings_.Items(i);
    binding.AllocateSocket();
    binding.Bind();
    int granted = 0;
    socketlayer::RaiseReceiveBuffer(binding.Handle(), ReceiveBufferWanted, granted);
    socketlayer::EnableReceiveTimes(binding.Handle());
  }
  sendingBinding_ = &bindings_.Items(0);
  try {
    receivers_.Open(bindings_, ReceiveBufferWanted);
    queue_ = std::make_shared<TDatagramQueue>(ReceiveQueueLimit);
    batch_.clear();
    handledBytes_ = 0;
    handOver_->Reset();
    DeliveryDone();
    listener_ = std::make_unique<TIdUDPListenerThread>(*this, BufferSize);
    listener_->Start();
  } catch (...) {
    // Without a listener the endpoint is not active: the next send retries.
    listener_.reset();
    sendingBinding_ = nullptr;
    throw;
  }
  active_ = true;
  BroadcastEnabledChanged();
}

void TIdUDPServer::BroadcastEnabledChanged() {
  for (int i = 0; i < bindings_.Count(); ++i) {
    TIdSocketHandle& binding = bindings_.Items(i);
    if (binding.HandleAllocated()) {
      binding.SetBroadcast(BroadcastEnabled);
    }
  }
}

// The queue closes first: from then on nothing is delivered, not even what
// it still holds. The listener is stopped before any socket closes; the
// hand-over is cancelled rather than waited for, since this may be the GUI
// thread that the deliveries run on, or a handler on it.
void TIdUDPServer::CloseBinding() {
  if (!active_) {
    return;
  }
  queue_->Close();
  handOver_->Cancel();
  listener_->Stop();
  listener_->WaitFor();
  for (int i = 0; i < bindings_.Count(); ++i) {
    bindings_.Items(i).CloseSocket();
  }
  receivers_.Close();
  listener_.reset();
  droppedBefore_ += queue_->Dropped();
  queue_.reset();
  batch_.clear();
  sendingBinding_ = nullptr;
  active_ = false;
}

void TIdUDPServer::CollectSockets(std::vector<socketlayer::Handle>& sockets) const {
  sockets.clear();
  for (int i = 0; i < bindings_.Count(); ++i) {
    const TIdSocketHandle& binding = bindings_.Items(i);
    if (binding.HandleAllocated()) {
      sockets.push_back(binding.Handle());
    }
  }
  receivers_.Collect(sockets);
}

TIdSocketHandle* TIdUDPServer::BindingFor(socketlayer::Handle socket,
                                          const socketlayer::Datagram& datagram) {
  for (int i = bindings_.Count() - 1; i >= 0; --i) {
    if (bindings_.Items(i).Handle() == socket) {
      return &bindings_.Items(i);
    }
  }
  return receivers_.BindingFor(socket, datagram.interfaceIndex, datagram.sourceAddress,
                               datagram.sourcePort, bindings_);
}

bool TIdUDPServer::Arrived(TQueuedDatagram&& datagram) {
  datagram.arrival = arrivals_.fetch_add(1);
  return queue_->Push(std::move(datagram)) == TDatagramQueue::Pushed::QueuedWake && !ThreadedEvent;
}

void TIdUDPServer::WakeDeliveries() {
  handOver_->Post([this, queue = queue_] { return DeliverSome(queue); });
}

void TIdUDPServer::DeliverOnListener() {
  if (ThreadedEvent) {
    while (DeliverSome(queue_)) {
    }
  }
}

// `queue` is the caller's own reference: a handler may close or destroy the
// endpoint, after which nothing of it may be touched.
bool TIdUDPServer::DeliverSome(const std::shared_ptr<TDatagramQueue>& queue) {
  const auto end = std::chrono::steady_clock::now() + DeliveryTurn;
  for (;;) {
    if (batch_.empty()) {
      if (!queue->Take(batch_, TakeAtOnce, handledBytes_)) {
        return false;
      }
      handledBytes_ = 0;
    }
    while (!batch_.empty()) {
      TQueuedDatagram datagram = std::move(batch_.front());
      batch_.pop_front();
      handledBytes_ += TDatagramQueue::Charge(datagram);
      DeliveryStep(std::move(datagram));
      if (queue->Closed()) {
        return false;
      }
      DeliveryDone();
      if (std::chrono::steady_clock::now() >= end) {
        return true;
      }
    }
  }
}

void TIdUDPServer::DeliveryStep(TQueuedDatagram&& datagram) {
  TIdSocketHandle& binding = *datagram.binding;
  sendingBinding_ = &binding;
  deliveringArrival_ = datagram.arrival;
  deliveringReceivedAt_ = datagram.receivedNs;
  binding.SenderAddress = FormatDottedIPv4(datagram.sourceAddress);
  binding.SenderPort = datagram.sourcePort;
  stream_.Adopt(std::move(datagram.bytes));
  delivering_ = true;
  try {
    DoUDPRead(stream_, binding);
  } catch (...) {  // NOLINT(bugprone-empty-catch): handler errors are discarded unseen
  }
}

// After a delivery whose handler left the endpoint open: what it told the
// handler no longer holds.
void TIdUDPServer::DeliveryDone() {
  delivering_ = false;
  deliveringReceivedAt_ = 0;
}

std::size_t TIdUDPServer::DeliverReceivedBefore(std::int64_t deadlineNs,
                                                std::chrono::milliseconds limit) {
  if (!active_ || ThreadedEvent || delivering_) {
    return 0;
  }
  listener_->WaitForDryPass(limit);
  // The caller's own reference: a handler may close or destroy the endpoint.
  const std::shared_ptr<TDatagramQueue> queue = queue_;
  std::deque<TQueuedDatagram> later;
  std::size_t delivered = 0;
  for (;;) {
    if (batch_.empty()) {
      const bool took = queue->Take(batch_, TakeAtOnce, handledBytes_);
      handledBytes_ = 0;
      if (!took) {
        break;
      }
    }
    while (!batch_.empty()) {
      TQueuedDatagram datagram = std::move(batch_.front());
      batch_.pop_front();
      if (datagram.receivedNs > deadlineNs) {
        later.push_back(std::move(datagram));
        continue;
      }
      handledBytes_ += TDatagramQueue::Charge(datagram);
      DeliveryStep(std::move(datagram));
      ++delivered;
      if (queue->Closed()) {
        return delivered;
      }
      DeliveryDone();
    }
  }
  // What came after the deadline keeps its place ahead of anything newer;
  // the queue ran dry, so its next datagram wakes the deliveries, and these
  // are handed over then, or by the wake-up posted here.
  if (!later.empty()) {
    batch_ = std::move(later);
    WakeDeliveries();
  }
  return delivered;
}

void TIdUDPServer::DoUDPRead(TIdMemoryStream& data, TIdSocketHandle& binding) {
  if (OnUDPRead) {
    OnUDPRead(*this, data, binding);
  }
}

}  // namespace tb
