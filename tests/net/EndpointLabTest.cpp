// Tests that really send: they run only inside the lab's PC namespace
// (10.77.0.1/24 on eth0, 10.78.0.1/24 on eth1; devices at 10.77.0.2 and 10.78.0.2).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "FanOut.h"
#include "IdException.h"
#include "IdStack.h"
#include "IdUDPServer.h"
#include "LabSupport.h"

namespace tb {
namespace {

using namespace std::chrono_literals;
using lab::Peer;
using lab::PumpUntil;

struct Delivery {
  std::string data;
  std::string bindingIP;
  std::string sender;
  int senderPort;
  bool onGuiThread;
};

class EndpointLabTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = lab::SkipReason(); !why.empty()) {
      GTEST_SKIP() << why;
    }
    server_ = std::make_unique<TIdUDPServer>();
    server_->BroadcastEnabled = true;
    const auto gui = std::this_thread::get_id();
    server_->OnUDPRead = [this, gui](TIdUDPServer&, TIdMemoryStream& data, TIdSocketHandle& b) {
      EXPECT_EQ(data.Position(), 0U);
      deliveries_.push_back({data.DataString(), b.IP, b.SenderAddress, b.SenderPort,
                             std::this_thread::get_id() == gui});
    };
    SetUpBindings(
        *server_, [] { return ListHostAddresses(); },
        [this](const AnsiString& m) { messages_.push_back(m); });
  }

  void Query() {
    SendCommandFanOut("HELLO()", *server_, GetLocalInterfaces,
                      [this](const AnsiString& m) { messages_.push_back(m); });
  }

  bool WaitDeliveries(std::size_t n) {
    return PumpUntil([&] { return deliveries_.size() >= n; });
  }

  std::unique_ptr<TIdUDPServer> server_;
  std::vector<Delivery> deliveries_;
  std::vector<AnsiString> messages_;
};

// Whether address:998 in this namespace can still be bound by someone else.
bool PortFree(const char* address) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(998);
  ::inet_pton(AF_INET, address, &sa.sin_addr);
  const bool ok = ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
  ::close(fd);
  return ok;
}

TEST_F(EndpointLabTest, FirstSendBindsEveryAddressAndQueryReachesEverySubnet) {
  ASSERT_EQ(server_->Bindings().Count(), 2);
  EXPECT_TRUE(PortFree("10.77.0.1"));
  EXPECT_TRUE(PortFree("10.78.0.1"));
  EXPECT_FALSE(server_->Active());

  const Peer dev1("dev1", "0.0.0.0", 998);
  const Peer dev2("dev2", "0.0.0.0", 998);
  const Peer loopbackWatch("pc", "127.255.255.255", 998);
  ASSERT_TRUE(dev1.Ok() && dev2.Ok());
  Query();
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(server_->Active());
  EXPECT_FALSE(PortFree("10.77.0.1"));
  EXPECT_FALSE(PortFree("10.78.0.1"));

  // Each subnet hears its own directed broadcast and the limited one, both
  // from the address the program has there.
  for (const auto& [peer, source, directed] : {std::tuple{&dev1, "10.77.0.1:998", "10.77.0.255"},
                                               std::tuple{&dev2, "10.78.0.1:998", "10.78.0.255"}}) {
    std::vector<std::string> seen;
    while (const auto r = peer->Receive(300ms)) {
      EXPECT_EQ(r->data, "HELLO()");
      EXPECT_EQ(r->from + ":" + std::to_string(r->fromPort), source);
      seen.push_back(r->to);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{directed, "255.255.255.255"})) << source;
  }
  if (loopbackWatch.Ok()) {
    EXPECT_FALSE(loopbackWatch.Receive(100ms)) << "nothing may go to 127.255.255.255";
  }
  lab::PumpFor(100ms);
  EXPECT_TRUE(deliveries_.empty()) << "the endpoint's own broadcasts are not answers";
}

TEST_F(EndpointLabTest, EveryReplyRouteArrivesAndSendingBindingFollows) {
  // On any address, so that the peers also hear the endpoint's broadcasts.
  const Peer dev1("dev1", "0.0.0.0", 998);
  const Peer dev2("dev2", "0.0.0.0", 998);
  ASSERT_TRUE(dev1.Ok() && dev2.Ok());
  server_->Send("10.77.0.2", 998, "PING()");
  ASSERT_TRUE(dev1.Receive(500ms));

  struct Case {
    const Peer* peer;
    const char* destination;
    const char* binding;
    const char* sender;
  };
  const Case cases[] = {
      {&dev2, "10.78.0.1", "10.78.0.1", "10.78.0.2"},
      {&dev1, "10.77.0.255", "10.77.0.1", "10.77.0.2"},
      {&dev2, "255.255.255.255", "10.78.0.1", "10.78.0.2"},
      {&dev1, "255.255.255.255", "10.77.0.1", "10.77.0.2"},
      {&dev2, "10.78.0.255", "10.78.0.1", "10.78.0.2"},
      {&dev1, "10.77.0.1", "10.77.0.1", "10.77.0.2"},
  };
  for (const auto& c : cases) {
    deliveries_.clear();
    const std::string payload = std::string("NTM(") + c.destination + ")";
    c.peer->Send(payload, c.destination, 998);
    ASSERT_TRUE(WaitDeliveries(1)) << c.destination;
    lab::PumpFor(30ms);
    ASSERT_EQ(deliveries_.size(), 1U) << "exactly once: " << c.destination;
    EXPECT_EQ(deliveries_[0].data, payload);
    EXPECT_EQ(deliveries_[0].bindingIP, c.binding) << c.destination;
    EXPECT_EQ(deliveries_[0].sender, c.sender);
    EXPECT_EQ(deliveries_[0].senderPort, 998);
    EXPECT_TRUE(deliveries_[0].onGuiThread);
    ASSERT_NE(server_->SendingBinding(), nullptr);
    EXPECT_EQ(server_->SendingBinding()->IP, c.binding);

    // The next send leaves from the binding the reply arrived on, wherever it goes.
    server_->Broadcast("HELLO()", 998);
    auto out = c.peer->Receive(500ms);
    while (out && out->data != "HELLO()") {
      out = c.peer->Receive(500ms);  // the peer's own looped-back broadcast
    }
    ASSERT_TRUE(out) << c.destination;
    EXPECT_EQ(out->from, c.binding) << c.destination;
  }
}

TEST_F(EndpointLabTest, DatagramSizes) {
  const Peer dev1("dev1", "10.77.0.2", 998);
  ASSERT_TRUE(dev1.Ok());
  server_->SetActive(true);
  ASSERT_TRUE(server_->Active());
  const std::string full(8192, 'F');
  std::string binary(256, '\0');
  for (int i = 0; i < 256; ++i) binary[static_cast<std::size_t>(i)] = static_cast<char>(i);
  dev1.Send("", "10.77.0.1", 998);
  dev1.Send(full, "10.77.0.1", 998);
  dev1.Send(full + "X", "10.77.0.1", 998);  // 8193 bytes: dropped whole
  dev1.Send(binary, "10.77.0.1", 998);
  ASSERT_TRUE(WaitDeliveries(3));
  lab::PumpFor(50ms);
  ASSERT_EQ(deliveries_.size(), 3U);
  EXPECT_EQ(deliveries_[0].data, "");
  EXPECT_EQ(deliveries_[1].data, full);
  EXPECT_EQ(deliveries_[2].data, binary);
}

TEST_F(EndpointLabTest, PortTakenFailsActivationAndNextSendRetries) {
  const int blocker = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(998);
  ::inet_pton(AF_INET, "10.78.0.1", &sa.sin_addr);
  ASSERT_EQ(::bind(blocker, reinterpret_cast<sockaddr*>(&sa), sizeof sa), 0);

  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      server_->Send("10.77.0.2", 998, "HELLO()");
      FAIL() << "activation should fail";
    } catch (const EIdCouldNotBindSocket& e) {
      EXPECT_EQ(e.Message(), "Could not bind socket. Address and port are already in use.");
    }
    EXPECT_FALSE(server_->Active());
    EXPECT_EQ(server_->SendingBinding(), nullptr);
  }
  Query();
  EXPECT_EQ(messages_.size(), 3U) << "one message per interface and one for the broadcast";

  ::close(blocker);
  const Peer dev1("dev1", "10.77.0.2", 998);
  server_->Send("10.77.0.2", 998, "HELLO()");
  EXPECT_TRUE(server_->Active());
  const auto r = dev1.Receive(500ms);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->from, "10.77.0.1");
}

TEST_F(EndpointLabTest, DeliveriesOneAtATimeInOrderOnGuiThread) {
  const Peer dev1("dev1", "10.77.0.2", 998);
  const Peer dev2("dev2", "10.78.0.2", 998);
  server_->SetActive(true);
  std::atomic<int> inside{0};
  std::atomic<bool> overlapped{false};
  std::vector<std::string> order1;
  int count = 0;
  const auto gui = std::this_thread::get_id();
  server_->OnUDPRead = [&](TIdUDPServer&, TIdMemoryStream& data, TIdSocketHandle&) {
    if (++inside != 1 || std::this_thread::get_id() != gui) overlapped = true;
    const std::string text = data.DataString();
    if (text.rfind("A", 0) == 0) order1.push_back(text);
    ++count;
    std::this_thread::sleep_for(1ms);
    --inside;
  };
  constexpr int kEach = 100;
  for (int i = 0; i < kEach; ++i) {
    dev1.Send("A" + std::to_string(i), "10.77.0.1", 998);
    dev2.Send("B" + std::to_string(i), "255.255.255.255", 998);
  }
  ASSERT_TRUE(PumpUntil([&] { return count >= 2 * kEach; }, 10s)) << count;
  EXPECT_FALSE(overlapped.load());
  ASSERT_EQ(order1.size(), static_cast<std::size_t>(kEach));
  for (int i = 0; i < kEach; ++i)
    EXPECT_EQ(order1[static_cast<std::size_t>(i)], "A" + std::to_string(i));
}

TEST_F(EndpointLabTest, ThreadedEventRunsOnListener) {
  const Peer dev1("dev1", "10.77.0.2", 998);
  // The handler runs on the listener here, so it shares nothing unguarded.
  enum : int { None, Gui, Listener };
  std::atomic<int> where{None};
  const auto gui = std::this_thread::get_id();
  server_->OnUDPRead = [&where, gui](TIdUDPServer&, TIdMemoryStream&, TIdSocketHandle&) {
    where = std::this_thread::get_id() == gui ? Gui : Listener;
  };
  server_->ThreadedEvent = true;
  server_->SetActive(true);
  dev1.Send("X()", "10.77.0.1", 998);
  ASSERT_TRUE(PumpUntil([&] { return where != None; }));
  EXPECT_EQ(where.load(), Listener);
}

TEST_F(EndpointLabTest, NoBindingMeansAnyAddressAndSystemPort) {
  TIdUDPServer bare;
  std::atomic<int> got{0};
  bare.OnUDPRead = [&](TIdUDPServer&, TIdMemoryStream&, TIdSocketHandle&) { ++got; };
  const Peer dev1("dev1", "10.77.0.2", 998);
  bare.Send("10.77.0.2", 998, "HELLO()");
  ASSERT_EQ(bare.Bindings().Count(), 1);
  const TIdSocketHandle& b = bare.Bindings().Items(0);
  EXPECT_EQ(b.IP, "0.0.0.0");
  EXPECT_NE(b.Port, 0);
  const auto r = dev1.Receive(500ms);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->fromPort, b.Port);
  dev1.Send("NTM()", r->from, r->fromPort);
  EXPECT_TRUE(PumpUntil([&] { return got.load() == 1; }));
}

TEST_F(EndpointLabTest, ClosingWhileDatagramsKeepArrivingIsQuick) {
  for (const bool busy : {false, true}) {
    auto server = std::make_unique<TIdUDPServer>();
    server->Bindings().Add().IP = "10.77.0.1";
    server->Bindings().Items(0).Port = 998;
    std::atomic<bool> closing{false};
    std::atomic<bool> lateDelivery{false};
    std::atomic<int> got{0};
    server->OnUDPRead = [&](TIdUDPServer&, TIdMemoryStream&, TIdSocketHandle&) {
      if (closing) lateDelivery = true;
      ++got;
    };
    server->SetActive(true);
    std::atomic<bool> stop{false};
    std::thread flood([&] {
      const Peer dev1("dev1", "10.77.0.2", 998);
      while (busy && !stop) dev1.Send("NTM(flood)", "10.77.0.1", 998);
    });
    if (busy) {
      ASSERT_TRUE(PumpUntil([&] { return got.load() > 50; }));
    } else {
      std::this_thread::sleep_for(50ms);
    }
    // The listener is now waiting on the GUI thread (busy) or on its sockets (idle).
    std::this_thread::sleep_for(20ms);
    const auto start = std::chrono::steady_clock::now();
    closing = true;
    server.reset();
    const auto took = std::chrono::steady_clock::now() - start;
    lab::PumpFor(20ms);
    stop = true;
    flood.join();
    EXPECT_LT(took, 200ms) << (busy ? "busy" : "idle");
    EXPECT_FALSE(lateDelivery.load());
  }
}

TEST_F(EndpointLabTest, LookUpFailureRaisesSocketError) {
  EXPECT_THROW(server_->Send("no-such-device.invalid", 998, "HELLO()"), EIdSocketError);
  EXPECT_FALSE(server_->Active()) << "resolution happens before activation";
}

}  // namespace
}  // namespace tb
