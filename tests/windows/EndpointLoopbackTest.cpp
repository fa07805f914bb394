// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/IdComponent.h"
#include "net/IdException.h"
#include "net/IdUDPServer.h"
#include "net/SocketLayer.h"
#include "net/WinsockHeaders.h"

// The endpoint on real Windows sockets, all on 127.0.0.1: nothing leaves
// the machine, and nothing is broadcast.
namespace tb {
namespace {

using namespace std::chrono_literals;
constexpr Ipv4 Loopback = 0x7F000001U;

// A plain socket on the loopback address that plays a device.
class Peer {
 public:
  Peer() {
    int error = 0;
    socket_ = socketlayer::OpenDatagram(error);
    Ipv4 address = 0;
    if (socket_ != socketlayer::InvalidHandle && socketlayer::Bind(socket_, Loopback, 0) == 0) {
      socketlayer::LocalAddress(socket_, address, port_);
    }
  }
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  ~Peer() { socketlayer::Close(socket_); }

  int Port() const { return port_; }
  void SendTo(int port, const std::string& data) const {
    std::size_t sent = 0;
    ASSERT_EQ(socketlayer::SendTo(socket_, data.data(), data.size(), Loopback, port, sent), 0);
    ASSERT_EQ(sent, data.size());
  }
  // One datagram within `timeoutMs`, with its source port.
  bool Receive(std::string& data, int& sourcePort, int timeoutMs = 2000) const {
    std::vector<socketlayer::Handle> readable;
    bool woken = false;
    socketlayer::Wait({socket_}, nullptr, timeoutMs, readable, woken);
    if (readable.empty()) {
      return false;
    }
    std::vector<char> buffer(70000);
    socketlayer::Datagram datagram;
    if (socketlayer::Receive(socket_, buffer.data(), buffer.size(), datagram) != 0) {
      return false;
    }
    data.assign(buffer.data(), datagram.size);
    sourcePort = datagram.sourcePort;
    return true;
  }

 private:
  socketlayer::Handle socket_ = socketlayer::InvalidHandle;
  int port_ = 0;
};

struct Delivery {
  std::string data;
  std::string sender;
  int senderPort;
  int binding;
};

// An endpoint with `count` bindings on 127.0.0.1 (system-chosen ports) that
// records every delivery.
class EndpointLoopbackTest : public testing::Test {
 protected:
  void Open(int count) {
    server_ = std::make_unique<TIdUDPServer>();
    server_->BroadcastEnabled = true;
    for (int i = 0; i < count; ++i) {
      server_->Bindings().Add().IP = "127.0.0.1";
    }
    server_->OnUDPRead = [this](TIdUDPServer&, TIdMemoryStream& data, TIdSocketHandle& binding) {
      const std::lock_guard<std::mutex> guard(lock_);
      int index = -1;
      for (int i = 0; i < server_->Bindings().Count(); ++i) {
        if (&server_->Bindings().Items(i) == &binding) {
          index = i;
        }
      }
      EXPECT_EQ(data.Position(), 0U);
      deliveries_.push_back({data.DataString(), binding.SenderAddress, binding.SenderPort, index});
      changed_.notify_all();
    };
    server_->SetActive(true);
  }

  int PortOf(int binding) const { return server_->Bindings().Items(binding).Port; }

  bool WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(lock_);
    return changed_.wait_for(lock, 3s, [&] { return deliveries_.size() >= count; });
  }

  const TIdComponent stack_;
  std::unique_ptr<TIdUDPServer> server_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<Delivery> deliveries_;
};

TEST_F(EndpointLoopbackTest, DatagramsAreDeliveredWholeOrNotAtAll) {
  Open(1);
  ASSERT_TRUE(server_->Active());
  EXPECT_NE(PortOf(0), 0) << "the system's port is read back";
  Peer peer;
  const std::string full(8192, 'x');
  peer.SendTo(PortOf(0), "");
  peer.SendTo(PortOf(0), "NTM(1113,1.0.5)");
  peer.SendTo(PortOf(0), full);
  peer.SendTo(PortOf(0), full + "y");  // one byte over the buffer: dropped
  peer.SendTo(PortOf(0), "ACK()");
  ASSERT_TRUE(WaitFor(4));
  std::this_thread::sleep_for(100ms);
  const std::lock_guard<std::mutex> guard(lock_);
  ASSERT_EQ(deliveries_.size(), 4U);
  EXPECT_EQ(deliveries_[0].data, "");
  EXPECT_EQ(deliveries_[1].data, "NTM(1113,1.0.5)");
  EXPECT_EQ(deliveries_[2].data, full);
  EXPECT_EQ(deliveries_[3].data, "ACK()");
  for (const auto& d : deliveries_) {
    EXPECT_EQ(d.sender, "127.0.0.1");
    EXPECT_EQ(d.senderPort, peer.Port());
    EXPECT_EQ(d.binding, 0);
  }
}

TEST_F(EndpointLoopbackTest, RepliesLeaveFromTheBindingThatLastReceived) {
  Open(2);
  Peer peer;
  std::string data;
  int source = 0;
  server_->Send("localhost", peer.Port(), "HELLO()");
  ASSERT_TRUE(peer.Receive(data, source));
  EXPECT_EQ(data, "HELLO()");
  EXPECT_EQ(source, PortOf(0)) << "the first binding sends at first";

  peer.SendTo(PortOf(1), "NTM()");
  ASSERT_TRUE(WaitFor(1));
  EXPECT_EQ(server_->SendingBinding(), &server_->Bindings().Items(1));
  server_->Send("127.0.0.1", peer.Port(), "CONFIG()");
  ASSERT_TRUE(peer.Receive(data, source));
  EXPECT_EQ(data, "CONFIG()");
  EXPECT_EQ(source, PortOf(1));
}

TEST_F(EndpointLoopbackTest, TooLongDatagramIsRefusedBeforeItLeaves) {
  Open(1);
  EXPECT_THROW(server_->Send("127.0.0.1", 9, std::string(70000, 'x')), EIdPackageSizeTooBig);
}

TEST_F(EndpointLoopbackTest, ClosingEndsTheListenerAtOnce) {
  Open(3);
  const auto start = std::chrono::steady_clock::now();
  server_.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << "the waker ends the wait";
}

// A port taken on the binding's address: activation fails with the fixed
// text, leaves the endpoint inactive, and the next send tries again.
TEST(EndpointBindTest, PortInUseFailsActivationUntilItIsFree) {
  const TIdComponent stack;
  auto holder = std::make_unique<Peer>();
  TIdUDPServer server;
  TIdSocketHandle& binding = server.Bindings().Add();
  binding.IP = "127.0.0.1";
  binding.Port = holder->Port();
  try {
    server.Send("127.0.0.1", holder->Port(), "HELLO()");
    FAIL() << "no exception";
  } catch (const EIdCouldNotBindSocket& e) {
    EXPECT_EQ(e.Message(), "Could not bind socket. Address and port are already in use.");
  }
  EXPECT_FALSE(server.Active());
  EXPECT_EQ(server.SendingBinding(), nullptr);

  const int port = holder->Port();
  holder.reset();
  binding.Port = port;
  server.SetActive(true);
  EXPECT_TRUE(server.Active());
  EXPECT_EQ(server.Bindings().Items(0).Port, port);
}

}  // namespace
}  // namespace tb
