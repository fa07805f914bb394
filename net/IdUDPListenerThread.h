#pragma once

#include <vector>

#include "IdMemoryStream.h"
#include "IdThread.h"
#include "SocketLayer.h"

namespace tb {

class TIdUDPServer;
class TIdSocketHandle;

// Waits on all of an endpoint's sockets at once and hands each datagram over.
class TIdUDPListenerThread : public TIdThread {
 public:
  static constexpr int WaitTimeMs = 1000;
  static constexpr int MaxSockets = 64;

  TIdUDPListenerThread(TIdUDPServer& server, int receiveSize);
  ~TIdUDPListenerThread() override;

 protected:
  void Run() override;
  void StopRequested() override { waker_.Wake(); }

 private:
  void ReceiveOne(socketlayer::Handle socket);

  TIdUDPServer& server_;
  std::size_t receiveSize_;
  TIdMemoryStream buffer_;
  TIdSocketHandle* binding_ = nullptr;
  socketlayer::Waker waker_;
  std::vector<socketlayer::Handle> sockets_;
  std::vector<socketlayer::Handle> readable_;
};

}  // namespace tb
