// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/BindingPlan.h"
#include "core/FanOut.h"
#include "net/IdException.h"
#include "net/IdUDPServer.h"

namespace tb {
namespace {

// Records the sends instead of making them; a send to a listed host fails.
class RecordingServer : public TIdUDPServer {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> failingHosts;
  bool failBroadcast = false;

  void Send(const AnsiString& host, int port, const AnsiString& data) override {
    calls.push_back("send " + host + ":" + std::to_string(port) + " " + data);
    for (const auto& h : failingHosts) {
      if (h == host) throw EIdCouldNotBindSocket();
    }
  }
  void SendFrom(TIdSocketHandle& binding, const AnsiString& host, int port,
                const AnsiString& data) override {
    calls.push_back("from " + binding.IP + " ");
    Send(host, port, data);
    calls.back().insert(0, std::exchange(calls[calls.size() - 2], {}));
    calls.erase(calls.end() - 2);
  }
  void Broadcast(const AnsiString& data, int port) override {
    calls.push_back("broadcast " + std::to_string(port) + " " + data);
    if (failBroadcast) throw EIdSocketError(1, "");
  }
};

TLocalInterface Interface(const char* ip, const char* broadcast, bool loopback = false) {
  TLocalInterface i;
  i.IPAddress = ip;
  i.BroadcastAddress = broadcast;
  i.IsLoopback = loopback;
  return i;
}

struct FanOutCase {
  const char* name;
  bool listed;
  std::vector<TLocalInterface> interfaces;
  std::vector<std::string> failingHosts;
  bool failBroadcast;
  std::vector<std::string> expectedCalls;
  int expectedMessages;
};

TEST(FanOutTest, DestinationsOrderAndMessages) {
  const std::vector<FanOutCase> cases = {
      {"one interface plus loopback",
       true,
       {Interface("127.0.0.1", "127.255.255.255", true),
        Interface("192.168.1.10", "192.168.1.255")},
       {},
       false,
       {"send 192.168.1.255:998 HELLO()", "broadcast 998 HELLO()"},
       0},
      {"list order, duplicates kept, loopback with another address not skipped",
       true,
       {Interface("10.78.0.1", "10.78.0.255"), Interface("10.77.0.1", "10.77.0.255"),
        Interface("10.77.0.9", "10.77.0.255"), Interface("127.0.1.1", "127.255.255.255", true)},
       {},
       false,
       {"send 10.78.0.255:998 HELLO()", "send 10.77.0.255:998 HELLO()",
        "send 10.77.0.255:998 HELLO()", "send 127.255.255.255:998 HELLO()",
        "broadcast 998 HELLO()"},
       0},
      {"listing failed",
       false,
       {Interface("10.0.0.1", "10.0.0.255")},
       {},
       false,
       {"broadcast 998 HELLO()"},
       0},
      {"empty list", true, {}, {}, false, {"broadcast 998 HELLO()"}, 0},
      {"every send failing: one message each, broadcast still tried",
       true,
       {Interface("10.77.0.1", "10.77.0.255")},
       {"10.77.0.255"},
       true,
       {"send 10.77.0.255:998 HELLO()", "broadcast 998 HELLO()"},
       2},
      {"a failing send does not stop the next",
       true,
       {Interface("10.77.0.1", "10.77.0.255"), Interface("10.78.0.1", "10.78.0.255")},
       {"10.77.0.255"},
       false,
       {"send 10.77.0.255:998 HELLO()", "send 10.78.0.255:998 HELLO()", "broadcast 998 HELLO()"},
       1},
  };
  for (const auto& c : cases) {
    RecordingServer server;
    server.failingHosts = c.failingHosts;
    server.failBroadcast = c.failBroadcast;
    std::vector<AnsiString> messages;
    SendCommandFanOut(
        "HELLO()", server,
        [&](std::vector<TLocalInterface>& list) {
          list = c.interfaces;
          return c.listed;
        },
        [&](const AnsiString& m) { messages.push_back(m); });
    EXPECT_EQ(server.calls, c.expectedCalls) << c.name;
    EXPECT_EQ(static_cast<int>(messages.size()), c.expectedMessages) << c.name;
    for (const auto& m : messages) {
      EXPECT_EQ(m, "Error de comunicaci\xf3n") << c.name;
    }
    EXPECT_FALSE(server.Active()) << "nothing was really sent";
  }
}

// Each entry from the binding its route picks, each destination once; a
// target without a route or with failing sends costs one message, not one
// per datagram, and every other destination is still asked.
TEST(FanOutTest, TargetsByUnicastFromTheirRoutesBinding) {
  RecordingServer server;
  server.Bindings().Add().IP = "10.77.0.1";
  server.failingHosts = {"10.66.1.1", "10.66.1.2"};
  std::vector<TargetEntry> targets;
  for (const char* text : {"10.88.0.6", "10.88.0.4/30", "10.99.0.1", "10.66.1.0/30", "10.55.0.7"}) {
    targets.push_back(*ParseTarget(text).entry);
  }
  std::vector<AnsiString> messages;
  SendToTargets(
      "HELLO()", server, targets,
      [](Ipv4 to) -> Ipv4 {
        const Ipv4 first = to >> 16U;
        return first == 0x0A58 ? *ParseDottedIPv4("10.77.0.1")
                               : (first == 0x0A63 ? 0 : *ParseDottedIPv4("10.78.0.1"));
      },
      [&](const AnsiString& m) { messages.push_back(m); });
  EXPECT_EQ(server.calls, (std::vector<std::string>{
                              "from 10.77.0.1 send 10.88.0.6:998 HELLO()",
                              "from 10.77.0.1 send 10.88.0.5:998 HELLO()",
                              "from 10.77.0.1 send 10.88.0.7:998 HELLO()",
                              "send 10.66.1.1:998 HELLO()",
                              "send 10.66.1.2:998 HELLO()",
                              "send 10.66.1.3:998 HELLO()",
                              "send 10.55.0.7:998 HELLO()",
                          }));
  EXPECT_EQ(messages.size(), 2U);
}

TEST(FanOutTest, ListingThatThrowsIsReportedOnce) {
  RecordingServer server;
  std::vector<AnsiString> messages;
  SendCommandFanOut(
      "X()", server,
      [](std::vector<TLocalInterface>&) -> bool { throw std::runtime_error("boom"); },
      [&](const AnsiString& m) { messages.push_back(m); });
  EXPECT_TRUE(server.calls.empty());
  EXPECT_EQ(messages.size(), 1U);
}

TEST(FanOutTest, BindingSetUp) {
  struct Case {
    const char* name;
    bool throws;
    std::vector<AnsiString> addresses;
    bool expectMessage;
    std::vector<AnsiString> bound;
  };
  const Case cases[] = {
      {"two addresses", false, {"10.77.0.1", "10.78.0.1"}, false, {"10.77.0.1", "10.78.0.1"}},
      {"none", false, {}, true, {}},
      {"listing raises", true, {}, true, {}},
      {"one address on two interfaces",
       false,
       {"10.77.0.1", "10.78.0.1", "10.77.0.1"},
       false,
       {"10.77.0.1", "10.78.0.1"}},
  };
  for (const auto& c : cases) {
    TIdUDPServer server;
    std::vector<AnsiString> messages;
    SetUpBindings(
        server,
        [&]() -> std::vector<AnsiString> {
          if (c.throws) throw EIdSocketError(1, "");
          return c.addresses;
        },
        [&](const AnsiString& m) { messages.push_back(m); });
    ASSERT_EQ(server.Bindings().Count(), static_cast<int>(c.bound.size())) << c.name;
    for (int i = 0; i < server.Bindings().Count(); ++i) {
      EXPECT_EQ(server.Bindings().Items(i).IP, c.bound[static_cast<std::size_t>(i)]);
      EXPECT_EQ(server.Bindings().Items(i).Port, 998);
      EXPECT_FALSE(server.Bindings().Items(i).HandleAllocated()) << "no socket before a send";
    }
    if (c.expectMessage) {
      ASSERT_EQ(messages.size(), 1U) << c.name;
      EXPECT_EQ(messages[0], "No se ha detectado direcci\xf3n IP Local en esta PC.");
    } else {
      EXPECT_TRUE(messages.empty()) << c.name;
    }
    EXPECT_FALSE(server.Active());
  }
}

socketlayer::InterfaceAddress Listed(int index, Ipv4 address, Ipv4 netmask, bool loopback = false) {
  socketlayer::InterfaceAddress entry;
  entry.index = index;
  entry.address = address;
  entry.netmask = netmask;
  entry.up = true;
  entry.loopback = loopback;
  return entry;
}

// What the endpoint listens on, as the doctor's port check tries it.
TEST(FanOutTest, BindingPlanHasEachAddressOnceAndReceiversOnlyWhereBroadcastsArriveApart) {
  const std::vector<socketlayer::InterfaceAddress> interfaces{
      Listed(1, 0x7F000001U, 0xFF000000U, true),
      Listed(2, 0x0A4D0001U, 0xFFFFFF00U),  // 10.77.0.1/24
      Listed(3, 0x0A4E0005U, 0xFFFFFFFFU),  // 10.78.0.5/32: its directed address is its own
      Listed(4, 0x0A4D0001U, 0xFFFF0000U),  // 10.77.0.1 again, as 10.77.0.0/16
  };
  struct Case {
    const char* name;
    std::vector<AnsiString> hosts;
    std::vector<Ipv4> bindings;
    std::vector<Ipv4> receivers;
  };
  const Case cases[] = {
      {"each network",
       {"10.77.0.1", "10.78.0.5", "10.77.0.1"},
       {0x0A4D0001U, 0x0A4E0005U},
       {0x0A4D00FFU, LimitedBroadcast, 0x0A4DFFFFU}},
      {"the loopback address and one on no interface",
       {"127.0.0.1", "10.99.0.1", "no address"},
       {0x7F000001U, 0x0A630001U},
       {}},
  };
  for (const Case& c : cases) {
    const BindingPlan plan = PlanBindings(c.hosts, interfaces);
    EXPECT_EQ(plan.bindings, c.bindings) << c.name;
    EXPECT_EQ(plan.receivers,
              socketlayer::BoundSocketsHearBroadcasts() ? std::vector<Ipv4>{} : c.receivers)
        << c.name;
  }
}

TEST(FanOutTest, NewBindingTakesDefaultPort) {
  TIdUDPServer server;
  server.DefaultPort = 1234;
  const TIdSocketHandle& b = server.Bindings().Add();
  EXPECT_EQ(b.Port, 1234);
  EXPECT_TRUE(b.IP.empty());
  EXPECT_TRUE(b.SenderAddress.empty());
  EXPECT_EQ(b.SenderPort, 0);
  EXPECT_EQ(server.SendingBinding(), nullptr);
}

}  // namespace
}  // namespace tb
