// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "net/IdComponent.h"
#include "net/IdStack.h"
#include "net/Ipv4Address.h"
#include "net/LocalInterfaces.h"

namespace tb {
namespace {

TEST(AddressTest, DottedParsing) {
  struct Case {
    const char* text;
    bool valid;
    Ipv4 value;
  };
  const Case cases[] = {
      {"192.168.1.10", true, 0xC0A8010AU},
      {"0.0.0.0", true, 0},
      {"255.255.255.255", true, 0xFFFFFFFFU},
      {"010.1.1.1", true, 0x0A010101U},  // decimal, not octal
      {"256.1.1.1", false, 0},
      {"1.2.3", false, 0},
      {"1.2.3.4.5", false, 0},
      {"1..2.3", false, 0},
      {"1.2.3.4.", false, 0},
      {" 1.2.3.4", false, 0},
      {"1.2.3.-4", false, 0},
      {"99999999999999999999.1.1.1", false, 0},
      {"", false, 0},
      {"host.example", false, 0},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseDottedIPv4(c.text);
    EXPECT_EQ(parsed.has_value(), c.valid) << c.text;
    if (c.valid && parsed) {
      EXPECT_EQ(*parsed, c.value) << c.text;
      EXPECT_EQ(ParseDottedIPv4(FormatDottedIPv4(*parsed)), parsed);
    }
  }
  EXPECT_EQ(FormatDottedIPv4(0x0A4D0001U), "10.77.0.1");
}

TEST(AddressTest, DirectedBroadcast) {
  struct Case {
    const char* address;
    const char* netmask;
    const char* broadcast;
  };
  const Case cases[] = {
      {"192.168.1.10", "255.255.255.0", "192.168.1.255"},
      {"10.77.0.1", "255.255.0.0", "10.77.255.255"},
      {"172.16.5.9", "255.255.255.252", "172.16.5.11"},
      {"10.1.2.3", "255.255.255.255", "10.1.2.3"},  // host mask: its own address
      {"10.1.2.3", "0.0.0.0", "255.255.255.255"},
      {"127.0.0.1", "255.0.0.0", "127.255.255.255"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDottedIPv4(
                  DirectedBroadcast(*ParseDottedIPv4(c.address), *ParseDottedIPv4(c.netmask))),
              c.broadcast)
        << c.address;
  }
}

TEST(AddressTest, HostResolutionWithoutLookUp) {
  const TIdComponent keepStack;
  for (const char* name : {"LOCALHOST", "localhost", "LocalHost", "lOCALHOST"}) {
    EXPECT_EQ(TIdStack::ResolveHost(name), 0x7F000001U) << name;
  }
  EXPECT_EQ(TIdStack::ResolveHost("10.78.0.255"), 0x0A4E00FFU);
  EXPECT_EQ(TIdStack::ResolveHost("255.255.255.255"), 0xFFFFFFFFU);
}

TEST(AddressTest, StackLivesWithItsComponents) {
  ASSERT_EQ(TIdStack::Instance(), nullptr);
  {
    const TIdComponent first;
    TIdStack* stack = TIdStack::Instance();
    ASSERT_NE(stack, nullptr);
    {
      const TIdComponent second;
      EXPECT_EQ(TIdStack::Instance(), stack);
    }
    EXPECT_EQ(TIdStack::Instance(), stack);
  }
  EXPECT_EQ(TIdStack::Instance(), nullptr);
}

TEST(AddressTest, LocalInterfacesComputeTheirBroadcast) {
  std::vector<TLocalInterface> list;
  ASSERT_TRUE(GetLocalInterfaces(list));
  bool loopback = false;
  for (const auto& entry : list) {
    const auto address = ParseDottedIPv4(entry.IPAddress);
    const auto netmask = ParseDottedIPv4(entry.NetMask);
    ASSERT_TRUE(address && netmask) << entry.IPAddress;
    EXPECT_EQ(entry.BroadcastAddress, FormatDottedIPv4(DirectedBroadcast(*address, *netmask)));
    EXPECT_EQ(entry.NetAddress, FormatDottedIPv4(*address & *netmask));
    EXPECT_LE(entry.ComputerName.size(), 15U);
    EXPECT_EQ(entry.ComputerName, list.front().ComputerName);
    loopback = loopback || (entry.IsLoopback && entry.IPAddress == "127.0.0.1");
  }
  EXPECT_TRUE(loopback) << "the loopback interface is listed too";
  for (const auto& address : ListHostAddresses()) {
    EXPECT_NE(address.rfind("127.", 0), 0U) << "loopback is never a host address";
  }
}

}  // namespace
}  // namespace tb
