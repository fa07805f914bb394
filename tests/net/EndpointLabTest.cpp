// SPDX-License-Identifier: GPL-3.0-or-later
// Tests that really send: they run only inside the lab's PC namespace
// (10.77.0.1/24 on eth0, 10.78.0.1/24 on eth1; devices at 10.77.0.2 and 10.78.0.2).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "core/FanOut.h"
#include "net/IdException.h"
#include "net/IdStack.h"
#include "net/IdUDPServer.h"
#include "net/SocketLayer.h"
#include "tests/support/LabSupport.h"

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
    MakeServer();
  }

  // An endpoint set up as the program's, on the addresses the PC has now.
  void MakeServer() {
    server_.reset();
    deliveries_.clear();
    messages_.clear();
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

  static void WaitLinkUp(const std::string& name) {
    lab::PumpUntil([&] {
      std::ifstream state("/sys/class/net/" + name + "/operstate");
      std::string text;
      return (state >> text) && text == "up";
    });
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
  // Each binding with the receive buffer it asked for (this runs as root).
  for (int i = 0; i < server_->Bindings().Count(); ++i) {
    int size = 0;
    socklen_t length = sizeof size;
    ::getsockopt(static_cast<int>(server_->Bindings().Items(i).Handle()), SOL_SOCKET, SO_RCVBUF,
                 &size, &length);
    EXPECT_GE(size, TIdUDPServer::ReceiveBufferWanted);
  }

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

// Runs `ip` with these arguments, "DEV1" and "DEV2" standing for those lab namespaces.
int Ip(std::string command) {
  for (const auto& [mark, role] : {std::pair{"DEV1", "dev1"}, std::pair{"DEV2", "dev2"}}) {
    if (const auto at = command.find(mark); at != std::string::npos) {
      command.replace(at, std::string(mark).size(), lab::Namespace(role));
    }
  }
  return std::system(("ip " + command + " 2>&1").c_str());
}

// Undoes a topology when its case ends, so the lab keeps the shape the other tests expect.
struct Undo {
  const std::vector<std::string>& commands;
  ~Undo() {
    for (const auto& command : commands) Ip(command);
  }
};

// Each reply must reach the handler once, credited to the binding whose
// address the device can answer, and the next command must leave from it.
// The topologies are those seen on sites: two networks on one adapter, one
// address on two interfaces, an adapter deleted and created again while the
// program runs (so it comes back under another index).
TEST_F(EndpointLabTest, EveryReplyRouteIsCreditedToItsBindingInEveryTopology) {
  struct Reply {
    const char* role;
    const char* from;  // nullptr: the device's socket on any address, port 998
    const char* destination;
    const char* binding;
    const char* sender;
  };
  struct Case {
    const char* name;
    std::vector<std::string> change;
    std::vector<std::string> undo;
    bool changeWhileActive;
    std::vector<Reply> replies;
  };
  const std::vector<Reply> labReplies = {
      {"dev2", nullptr, "10.78.0.1", "10.78.0.1", "10.78.0.2"},
      {"dev1", nullptr, "10.77.0.255", "10.77.0.1", "10.77.0.2"},
      {"dev2", nullptr, "255.255.255.255", "10.78.0.1", "10.78.0.2"},
      {"dev1", nullptr, "255.255.255.255", "10.77.0.1", "10.77.0.2"},
      {"dev2", nullptr, "10.78.0.255", "10.78.0.1", "10.78.0.2"},
      {"dev1", nullptr, "10.77.0.1", "10.77.0.1", "10.77.0.2"},
  };
  const Case cases[] = {
      {"the lab", {}, {}, false, labReplies},
      {"two networks on one adapter",
       {"addr add 10.79.0.1/24 broadcast + dev eth0",
        "-n DEV1 addr add 10.79.0.2/24 broadcast + dev eth0"},
       {"addr del 10.79.0.1/24 dev eth0", "-n DEV1 addr del 10.79.0.2/24 dev eth0"},
       false,
       {{"dev1", "10.79.0.2", "255.255.255.255", "10.79.0.1", "10.79.0.2"},
        {"dev1", nullptr, "255.255.255.255", "10.77.0.1", "10.77.0.2"},
        {"dev1", "10.79.0.2", "10.79.0.255", "10.79.0.1", "10.79.0.2"},
        {"dev1", nullptr, "10.77.0.255", "10.77.0.1", "10.77.0.2"},
        {"dev1", "10.79.0.2", "10.79.0.1", "10.79.0.1", "10.79.0.2"}}},
      {"one address on two interfaces",
       {"tuntap add tbtun0 mode tun", "addr add 10.77.0.1/32 dev tbtun0", "link set tbtun0 up"},
       {"link del tbtun0"},
       false,
       labReplies},
      {"an adapter created again",
       {"link del eth1", "link add eth1 type veth peer name eth0 netns DEV2",
        "addr add 10.78.0.1/24 broadcast + dev eth1",
        "-n DEV2 addr add 10.78.0.2/24 broadcast + dev eth0",
        "-n DEV2 addr add 10.78.0.3/24 broadcast + dev eth0", "link set eth1 up",
        "-n DEV2 link set eth0 up", "-n DEV2 route add default via 10.78.0.1",
        "-n DEV2 addr add 192.168.5.7/24 dev eth0"},
       {"-n DEV2 addr del 192.168.5.7/24 dev eth0"},
       true,
       // A device set up for another network answers by broadcast; only the
       // interface it arrives on tells where it is.
       {{"dev2", "192.168.5.7", "255.255.255.255", "10.78.0.1", "192.168.5.7"},
        {"dev1", nullptr, "255.255.255.255", "10.77.0.1", "10.77.0.2"},
        {"dev2", nullptr, "255.255.255.255", "10.78.0.1", "10.78.0.2"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Undo undo{c.undo};
    const auto change = [&c] {
      for (const auto& command : c.change) EXPECT_EQ(Ip(command), 0) << command;
    };
    if (!c.changeWhileActive) change();
    MakeServer();
    Query();
    EXPECT_TRUE(messages_.empty()) << "every binding binds";
    if (c.changeWhileActive) {
      change();
      WaitLinkUp("eth1");
    }
    // On any address, so that the devices also hear the endpoint's broadcasts.
    std::map<std::string, std::unique_ptr<Peer>> peers;
    for (const char* role : {"dev1", "dev2"}) {
      peers[role] = std::make_unique<Peer>(role, "0.0.0.0", 998);
      ASSERT_TRUE(peers[role]->Ok());
    }
    for (const auto& r : c.replies) {
      SCOPED_TRACE(std::string(r.sender) + " to " + r.destination);
      const std::string key = std::string(r.role) + (r.from != nullptr ? r.from : "");
      if (peers.count(key) == 0) {
        peers[key] = std::make_unique<Peer>(r.role, r.from, 997);
        ASSERT_TRUE(peers[key]->Ok());
      }
      lab::PumpFor(30ms);
      deliveries_.clear();
      const std::string payload = std::string("NTM(") + r.destination + ")";
      peers[key]->Send(payload, r.destination, 998);
      ASSERT_TRUE(WaitDeliveries(1));
      lab::PumpFor(30ms);
      ASSERT_EQ(deliveries_.size(), 1U) << "exactly once";
      EXPECT_EQ(deliveries_[0].data, payload);
      EXPECT_EQ(deliveries_[0].bindingIP, r.binding);
      EXPECT_EQ(deliveries_[0].sender, r.sender);
      EXPECT_EQ(deliveries_[0].senderPort, r.from != nullptr ? 997 : 998);
      EXPECT_TRUE(deliveries_[0].onGuiThread);
      ASSERT_NE(server_->SendingBinding(), nullptr);
      EXPECT_EQ(server_->SendingBinding()->IP, r.binding);

      // The next send leaves from the binding the reply arrived on, wherever
      // it goes: here to the device's network. (A limited broadcast could
      // leave by another interface that holds the same address.)
      const Peer& device = *peers[r.role];
      server_->Send(std::string(r.role) == "dev1" ? "10.77.0.255" : "10.78.0.255", 998, "HELLO()");
      auto out = device.Receive(500ms);
      while (out && out->data != "HELLO()") {
        out = device.Receive(500ms);  // the device's own looped-back broadcast
      }
      ASSERT_TRUE(out);
      EXPECT_EQ(out->from, r.binding);
      for (const auto& peer : peers) {
        while (peer.second->Receive(20ms)) {
        }
      }
    }
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
    if (text.rfind('A', 0) == 0) order1.push_back(text);
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

// A listening window's end: what the system received by the deadline is
// handed over at once, without the event loop, in arrival order; what came
// after stays for its usual turn.
TEST_F(EndpointLabTest, WindowEndTakesWhatWasReceivedByTheDeadlineAndNothingAfter) {
  const Peer dev1("dev1", "10.77.0.2", 998);
  server_->SetActive(true);
  std::vector<std::int64_t> stamps;
  server_->OnUDPRead = [&](TIdUDPServer& sender, TIdMemoryStream& data, TIdSocketHandle&) {
    deliveries_.push_back({data.DataString(), "", "", 0, true});
    stamps.push_back(sender.DeliveringReceivedAt());
  };
  constexpr int kEarly = 50;
  for (int i = 0; i < kEarly; ++i) {
    dev1.Send("early" + std::to_string(i), "10.77.0.1", 998);
  }
  std::this_thread::sleep_for(50ms);
  const std::int64_t deadline = socketlayer::WallClockNs();
  std::this_thread::sleep_for(20ms);
  for (int i = 0; i < 10; ++i) {
    dev1.Send("late" + std::to_string(i), "10.77.0.1", 998);
  }
  std::this_thread::sleep_for(50ms);

  EXPECT_EQ(server_->DeliverReceivedBefore(deadline, 250ms), std::size_t{kEarly});
  ASSERT_EQ(deliveries_.size(), std::size_t{kEarly});
  for (int i = 0; i < kEarly; ++i) {
    EXPECT_EQ(deliveries_[static_cast<std::size_t>(i)].data, "early" + std::to_string(i));
    EXPECT_GT(stamps[static_cast<std::size_t>(i)], deadline - 1'000'000'000);
    EXPECT_LE(stamps[static_cast<std::size_t>(i)], deadline);
  }
  EXPECT_EQ(server_->DeliveringReceivedAt(), 0);
  ASSERT_TRUE(WaitDeliveries(kEarly + 10));
  EXPECT_EQ(deliveries_[kEarly].data, "late0");
  EXPECT_GT(stamps[kEarly], deadline);
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
    // Datagrams are now waiting in the queue for this thread (busy), or the
    // listener waits on its sockets (idle).
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

// A flood of the largest datagrams while this thread holds back the
// deliveries: the queue keeps what its bound allows and counts the rest,
// and once deliveries run, what it kept comes whole and in order. On
// loopback, so no datagram is lost to fragmentation on the way.
TEST_F(EndpointLabTest, QueueKeepsItsBoundUnderAFloodOfTheLargestDatagrams) {
  constexpr std::size_t Largest = 65507;
  constexpr int Sent = 2500;
  TIdUDPServer server;
  server.BufferSize = 65536;
  server.Bindings().Add().IP = "127.0.0.1";
  std::vector<int> order;
  server.OnUDPRead = [&](TIdUDPServer&, TIdMemoryStream& data, TIdSocketHandle&) {
    int number = -1;
    ASSERT_EQ(data.Size(), Largest);
    std::memcpy(&number, data.Memory(), sizeof number);
    order.push_back(number);
  };
  server.SetActive(true);
  const std::size_t capacity =
      server.ReceiveQueueLimit / (Largest + TDatagramQueue::ChargePerDatagram);
  const long kernelBefore = lab::KernelUdpDrops();
  const std::size_t heapBefore = ::mallinfo2().uordblks;

  const int sender = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(server.Bindings().Items(0).Port));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string datagram(Largest, 'L');
  for (int i = 0; i < Sent; ++i) {
    // In bursts the listener can follow: the bound, not the kernel, is to drop them.
    if (i % 8 == 7) {
      std::this_thread::sleep_for(1ms);
    }
    std::memcpy(datagram.data(), &i, sizeof i);
    ASSERT_EQ(::sendto(sender, datagram.data(), datagram.size(), 0,
                       reinterpret_cast<const sockaddr*>(&to), sizeof to),
              static_cast<ssize_t>(Largest));
  }
  ::close(sender);
  // Every datagram either waits in the queue, was dropped by it or by the
  // kernel; until the listener has read them all, this thread only sleeps.
  const auto accounted = [&] {
    return capacity + server.DroppedDatagrams() +
               static_cast<std::size_t>(lab::KernelUdpDrops() - kernelBefore) >=
           static_cast<std::size_t>(Sent);
  };
  for (int i = 0; i < 1000 && !accounted(); ++i) {
    std::this_thread::sleep_for(10ms);
  }
  const std::size_t heapFull = ::mallinfo2().uordblks;
  ASSERT_TRUE(accounted()) << server.DroppedDatagrams() << " dropped by the queue, "
                           << lab::KernelUdpDrops() - kernelBefore << " by the kernel";
  EXPECT_GT(server.DroppedDatagrams(), 0U);
  if (heapBefore > 0) {
    EXPECT_LT(heapFull - std::min(heapFull, heapBefore), server.ReceiveQueueLimit + (8U << 20));
  }

  ASSERT_TRUE(PumpUntil([&] { return order.size() >= capacity; }));
  lab::PumpFor(50ms);
  EXPECT_EQ(order.size(), capacity);
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  EXPECT_EQ(std::adjacent_find(order.begin(), order.end()), order.end());
  EXPECT_EQ(capacity + server.DroppedDatagrams() +
                static_cast<std::size_t>(lab::KernelUdpDrops() - kernelBefore),
            static_cast<std::size_t>(Sent))
      << "no datagram lost unseen";
}

TEST_F(EndpointLabTest, LookUpFailureRaisesSocketError) {
  EXPECT_THROW(server_->Send("no-such-device.invalid", 998, "HELLO()"), EIdSocketError);
  EXPECT_FALSE(server_->Active()) << "resolution happens before activation";
}

}  // namespace
}  // namespace tb
