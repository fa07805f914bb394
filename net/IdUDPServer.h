#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "BroadcastReceivers.h"
#include "IdMemoryStream.h"
#include "IdSocketHandles.h"
#include "IdUDPBase.h"

namespace tb {

class TIdUDPServer;
class TIdUDPListenerThread;
class TGuiHandOver;

using TUDPReadEvent =
    std::function<void(TIdUDPServer& Sender, TIdMemoryStream& AData, TIdSocketHandle& ABinding)>;

// The UDP endpoint: bindings that are opened on the first send, a listener
// thread that waits on all of them, and delivery of every datagram to
// OnUDPRead on the thread that created the endpoint (a thread running a Qt
// event loop), one at a time.
class TIdUDPServer : public TIdUDPBase {
 public:
  // `parent` is accepted for symmetry with the toolkit's components; the
  // owner destroys the endpoint itself.
  explicit TIdUDPServer(void* parent = nullptr);
  ~TIdUDPServer() override;

  TIdSocketHandles& Bindings() { return bindings_; }
  int& DefaultPort;
  bool ThreadedEvent = false;
  TUDPReadEvent OnUDPRead;

  TIdSocketHandle* SendingBinding() { return sendingBinding_.load(); }

 protected:
  void CloseBinding() override;
  bool GetActive() const override;
  TIdSocketHandle& GetBinding() override;
  void BroadcastEnabledChanged() override;
  virtual void DoUDPRead(TIdMemoryStream& data, TIdSocketHandle& binding);

 private:
  friend class TIdUDPListenerThread;

  void Activate();
  // Listener side: the sockets to wait on, and the binding a socket serves.
  void CollectSockets(std::vector<socketlayer::Handle>& sockets) const;
  TIdSocketHandle* BindingFor(socketlayer::Handle socket, const socketlayer::Datagram& datagram);
  // Listener side: hands one datagram over and waits until it has been handled.
  void Deliver(TIdMemoryStream& data, TIdSocketHandle& binding);
  void DeliveryStep(TIdMemoryStream& data, TIdSocketHandle& binding);

  TIdSocketHandles bindings_;
  TBroadcastReceivers receivers_;
  std::atomic<TIdSocketHandle*> sendingBinding_{nullptr};
  std::unique_ptr<TIdUDPListenerThread> listener_;
  std::unique_ptr<TGuiHandOver> handOver_;
  bool active_ = false;
};

}  // namespace tb
