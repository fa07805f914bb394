// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "net/BroadcastReceivers.h"
#include "net/DatagramQueue.h"
#include "net/IdMemoryStream.h"
#include "net/IdSocketHandles.h"
#include "net/IdUDPBase.h"

namespace tb {

class TIdUDPServer;
class TIdUDPListenerThread;
class TGuiHandOver;

using TUDPReadEvent =
    std::function<void(TIdUDPServer& Sender, TIdMemoryStream& AData, TIdSocketHandle& ABinding)>;

// The UDP endpoint: bindings that are opened on the first send, a listener
// thread that waits on all of them and reads every datagram into a queue,
// and delivery of each queued datagram to OnUDPRead on the thread that
// created the endpoint (a thread running a Qt event loop), one at a time, in
// arrival order.
class TIdUDPServer : public TIdUDPBase {
 public:
  static constexpr std::size_t DefaultReceiveQueueLimit = std::size_t{64} << 20;
  // What every receiving socket asks the system for, to take the bursts
  // that come while the listener is not scheduled.
  static constexpr int ReceiveBufferWanted = 16 << 20;

  // `parent` is accepted for symmetry with the toolkit's components; the
  // owner destroys the endpoint itself.
  explicit TIdUDPServer(void* parent = nullptr);
  ~TIdUDPServer() override;

  TIdSocketHandles& Bindings() { return bindings_; }
  int& DefaultPort;
  bool ThreadedEvent = false;
  TUDPReadEvent OnUDPRead;
  // Bytes of datagrams that may wait for the handler (see TDatagramQueue);
  // read at activation.
  std::size_t ReceiveQueueLimit = DefaultReceiveQueueLimit;

  TIdSocketHandle* SendingBinding() { return sendingBinding_.load(); }
  // Datagrams read and then dropped because the queue was full, since creation.
  std::uint64_t DroppedDatagrams() const;
  // Datagrams read from the sockets since creation. A datagram whose arrival
  // number (DeliveringArrival, while OnUDPRead runs) is below a count taken
  // earlier was already read when the count was taken, however long it
  // waited for its handler.
  std::uint64_t ArrivalsSoFar() const { return arrivals_.load(); }
  std::uint64_t DeliveringArrival() const { return deliveringArrival_; }
  // While OnUDPRead runs: when the system received the datagram, as
  // socketlayer::Datagram::receivedNs counts it; 0 outside a delivery.
  std::int64_t DeliveringReceivedAt() const { return deliveringReceivedAt_; }

  // On the delivering thread, when a listening window ends: has the listener
  // read what the system holds (waiting at most `limit` for it), then hands
  // OnUDPRead, at once and in arrival order, every datagram received up to
  // `deadlineNs` that it has not seen yet. The window's end is due when the
  // timer fires, but under load the replies the system had long received can
  // still wait for the listener or for their turn on this thread; without
  // this they would miss the window although they came in time. Datagrams
  // received later stay queued for their usual turn. Returns how many were
  // handed over. Does nothing with ThreadedEvent or during a delivery.
  std::size_t DeliverReceivedBefore(std::int64_t deadlineNs, std::chrono::milliseconds limit);

 protected:
  void CloseBinding() override;
  bool GetActive() const override;
  TIdSocketHandle& GetBinding() override;
  void BroadcastEnabledChanged() override;
  virtual void DoUDPRead(TIdMemoryStream& data, TIdSocketHandle& binding);

 private:
  friend class TIdUDPListenerThread;

  void Activate();
  // Listener side: the sockets to wait on, and the binding a datagram belongs to.
  void CollectSockets(std::vector<socketlayer::Handle>& sockets) const;
  TIdSocketHandle* BindingFor(socketlayer::Handle socket, const socketlayer::Datagram& datagram);
  // Listener side: queues a datagram; true when the GUI thread's
  // deliveries have run dry and must be woken for it (WakeDeliveries). With
  // ThreadedEvent the listener delivers what is queued itself.
  bool Arrived(TQueuedDatagram&& datagram);
  void WakeDeliveries();
  void DeliverOnListener();
  // On the delivering thread: hands queued datagrams to the handler for one
  // turn; true when some are left for another.
  bool DeliverSome(const std::shared_ptr<TDatagramQueue>& queue);
  void DeliveryStep(TQueuedDatagram&& datagram);
  void DeliveryDone();

  TIdSocketHandles bindings_;
  TBroadcastReceivers receivers_;
  std::atomic<TIdSocketHandle*> sendingBinding_{nullptr};
  std::unique_ptr<TIdUDPListenerThread> listener_;
  std::unique_ptr<TGuiHandOver> handOver_;
  std::shared_ptr<TDatagramQueue> queue_;
  std::uint64_t droppedBefore_ = 0;  // by the queues of earlier activations
  std::atomic<std::uint64_t> arrivals_{0};
  std::uint64_t deliveringArrival_ = 0;
  std::int64_t deliveringReceivedAt_ = 0;
  bool delivering_ = false;
  // The delivering thread's own: the datagrams taken from the queue and not
  // yet handled, the bytes of those handled, and the stream the handler reads.
  std::deque<TQueuedDatagram> batch_;
  std::size_t handledBytes_ = 0;
  TIdMemoryStream stream_;
  bool active_ = false;
};

}  // namespace tb
