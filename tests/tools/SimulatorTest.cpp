// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <sstream>

#include "tools/DeviceLogic.h"
#include "tools/Escape.h"
#include "tools/Fleet.h"

namespace tb::sim {
namespace {

TEST(EscapeTest, RoundTripsEveryByte) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string escaped = EscapeBytes(all);
  for (const char c : escaped) {
    EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "one printable line";
  }
  EXPECT_EQ(UnescapeBytes(escaped), all);
  EXPECT_EQ(EscapeBytes(std::string("a\\b\0\xf3", 5)), "a\\\\b\\x00\\xf3");
  for (const char* bad : {"\\", "\\x", "\\x4", "\\xg0", "\\q"}) {
    EXPECT_FALSE(UnescapeBytes(bad)) << bad;
  }
}

TEST(FleetTest, ParsesAndRejects) {
  std::istringstream good(
      "# fleet\n[device]\nmac = AA\nfields = 7\nreply = limited\nname = Caf\\xe9\n"
      "reply_size = 0\nsource = 192.168.77.50\nown_address = 1\n\n[device]\nmac = BB\n");
  const auto parsed = ParseFleet(good);
  ASSERT_TRUE(parsed.error.empty()) << parsed.error;
  ASSERT_EQ(parsed.devices.size(), 2U);
  EXPECT_EQ(parsed.devices[0].fields, 7);
  EXPECT_EQ(parsed.devices[0].reply, ReplyRoute::Limited);
  EXPECT_EQ(parsed.devices[0].name, "Caf\xe9");
  EXPECT_EQ(parsed.devices[0].replySize, 0);
  EXPECT_EQ(parsed.devices[0].source, "192.168.77.50");
  EXPECT_EQ(parsed.devices[1].fields, 9);
  EXPECT_TRUE(parsed.devices[0].ownAddress);
  EXPECT_FALSE(parsed.devices[1].ownAddress);

  struct Case {
    const char* text;
    const char* error;
  };
  const Case bad[] = {
      {"mac = A\n", "line 1: key outside a [device] section"},
      {"[device]\nmac = A\nfields = 6\n", "line 3: fields must be a number from 7 to 9"},
      {"[device]\nmac = A\nreply = mail\n", "line 3: reply must be sender, directed or limited"},
      {"[device]\nmac = A\nconfig = nak\n", "line 3: config must be check, silent or ack_nak"},
      {"[device]\ncolour = red\n", "line 2: unknown key 'colour'"},
      {"[device]\nmac = A\nown_address = yes\n", "line 3: own_address must be 0 or 1"},
      {"[device]\nname = x\n", "line 0: device 1 has no mac"},
      {"[device]\njunk\n", "line 2: expected [device] or key = value"},
  };
  for (const auto& c : bad) {
    std::istringstream in(c.text);
    EXPECT_EQ(ParseFleet(in).error, c.error) << c.text;
  }
}

TEST(DeviceLogicTest, DiscoveryReplyForms) {
  SimDevice d;
  d.code = "1118";
  d.version = "1.0.5";
  d.mac = "00:11";
  d.ip = "10.77.0.13";
  d.netmask = "255.255.255.0";
  d.gateway = "10.77.0.1";
  d.hostName = "h";
  d.name = "n";
  d.fields = 7;
  EXPECT_EQ(BuildDiscoveryReply(d), "NTM(1118,1.0.5,00:11,10.77.0.13,255.255.255.0,10.77.0.1,0)");
  d.fields = 8;
  EXPECT_EQ(BuildDiscoveryReply(d), "NTM(1118,1.0.5,00:11,10.77.0.13,255.255.255.0,10.77.0.1,0,h)");
  d.fields = 9;
  EXPECT_EQ(BuildDiscoveryReply(d),
            "NTM(1118,1.0.5,00:11,10.77.0.13,255.255.255.0,10.77.0.1,0,h,n)");
  d.replySize = 8193;
  EXPECT_EQ(BuildDiscoveryReply(d).size(), 8193U);
  d.replySize = 0;
  EXPECT_EQ(BuildDiscoveryReply(d), "");
  d.replySize = -1;
  d.hasPayload = true;
  d.payload = "NTM(broken";
  EXPECT_EQ(BuildDiscoveryReply(d), "NTM(broken");
}

TEST(DeviceLogicTest, ConfigForms) {
  struct Case {
    const char* request;
    const char* answer;  // nullptr: not for this device
    const char* ip;
    const char* dhcp;
    const char* hostName;
  };
  const Case cases[] = {
      {"CONFIG(pw,AA:BB,10.0.0.5,255.0.0.0,10.0.0.1)", "ACK(AA:BB)", "10.0.0.5", "0", "old"},
      {"CONFIG(pw,AA:BB,10.0.0.5,255.0.0.0,10.0.0.1,new)", "ACK(AA:BB)", "10.0.0.5", "0", "new"},
      {"CONFIG(pw,AA:BB,0.0.0.0,0.0.0.0,0.0.0.0)", "ACK(AA:BB)", "1.1.1.1", "1", "old"},
      {"CONFIG(pw,AA:BB,0.0.0.0,0.0.0.0,0.0.0.0,dh)", "ACK(AA:BB)", "1.1.1.1", "1", "dh"},
      {"CONFIG(PW,AA:BB,10.0.0.5,255.0.0.0,10.0.0.1)", "NAK(AA:BB)", "1.1.1.1", "0", "old"},
      {"CONFIG(pw,aa:bb,10.0.0.5,255.0.0.0,10.0.0.1)", nullptr, "1.1.1.1", "0", "old"},
      {"CONFIG(pw,AA:BB)", "NAK(AA:BB)", "1.1.1.1", "0", "old"},
      {"HELLO()", nullptr, "1.1.1.1", "0", "old"},
  };
  for (const auto& c : cases) {
    SimDevice d;
    d.mac = "AA:BB";
    d.password = "pw";
    d.ip = "1.1.1.1";
    d.hostName = "old";
    const auto answer = HandleConfig(d, c.request);
    SimDevice mute = d;
    mute.config = ConfigAnswer::Silent;
    EXPECT_FALSE(HandleConfig(mute, c.request)) << c.request;
    if (c.answer == nullptr) {
      EXPECT_FALSE(answer) << c.request;
    } else {
      EXPECT_EQ(answer.value_or("-"), c.answer) << c.request;
    }
    EXPECT_EQ(d.ip, c.ip) << c.request;
    EXPECT_EQ(d.dhcp, c.dhcp) << c.request;
    EXPECT_EQ(d.hostName, c.hostName) << c.request;
  }
}

}  // namespace
}  // namespace tb::sim
