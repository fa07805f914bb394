#include "IdUDPServer.h"

#include <algorithm>

#include "GuiHandOver.h"
#include "IdUDPListenerThread.h"

namespace tb {

TIdUDPServer::TIdUDPServer(void* /*parent*/)
    : DefaultPort(bindings_.DefaultPort), handOver_(std::make_unique<TGuiHandOver>()) {}

TIdUDPServer::~TIdUDPServer() {
  CloseBinding();
  receivers_.Close();
}

bool TIdUDPServer::GetActive() const { return active_; }

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
  }
  sendingBinding_ = &bindings_.Items(0);
  try {
    receivers_.Open(bindings_);
    handOver_->Reset();
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

// The listener is stopped before any socket closes: it may be waiting on the
// GUI thread (which is this one), so the hand-over is cancelled rather than
// waited for, and no datagram is delivered once deactivation has begun.
void TIdUDPServer::CloseBinding() {
  if (!active_) {
    return;
  }
  listener_->Stop();
  handOver_->Cancel();
  listener_->WaitFor();
  for (int i = 0; i < bindings_.Count(); ++i) {
    bindings_.Items(i).CloseSocket();
  }
  receivers_.Close();
  listener_.reset();
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

void TIdUDPServer::Deliver(TIdMemoryStream& data, TIdSocketHandle& binding) {
  if (ThreadedEvent) {
    DeliveryStep(data, binding);
  } else {
    handOver_->Run([this, &data, &binding] { DeliveryStep(data, binding); });
  }
}

void TIdUDPServer::DeliveryStep(TIdMemoryStream& data, TIdSocketHandle& binding) {
  sendingBinding_ = &binding;
  try {
    DoUDPRead(data, binding);
  } catch (...) {  // NOLINT(bugprone-empty-catch): handler errors are discarded unseen
  }
}

void TIdUDPServer::DoUDPRead(TIdMemoryStream& data, TIdSocketHandle& binding) {
  if (OnUDPRead) {
    OnUDPRead(*this, data, binding);
  }
}

}  // namespace tb
