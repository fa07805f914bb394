// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TargetList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tb {
namespace {

TEST(TargetList, ParsesEntriesAndRefusesTheRest) {
  struct Case {
    std::string text;
    std::string kept;  // empty: refused with `fault`
    TargetFault fault;
  };
  const std::vector<Case> cases{
      {"10.20.0.15", "10.20.0.15", TargetFault::None},
      {" 10.20.0.15\t", "10.20.0.15", TargetFault::None},
      {"10.20.0.0/24", "10.20.0.0/24", TargetFault::None},
      {"10.20.0.77/24", "10.20.0.0/24", TargetFault::None},
      {"10.20.3.1/22", "10.20.0.0/22", TargetFault::None},
      {"10.20.0.9/32", "10.20.0.9", TargetFault::None},
      {"10.20.0.0/21", "", TargetFault::TooWide},
      {"10.20.0.0/0", "", TargetFault::TooWide},
      {"10.20.0.0/33", "", TargetFault::BadPrefix},
      {"10.20.0.0/024", "", TargetFault::BadPrefix},
      {"10.20.0.0/", "", TargetFault::BadPrefix},
      {"10.20.0.0/2x", "", TargetFault::BadPrefix},
      {"10.20.0.0/-24", "", TargetFault::BadPrefix},
      {"10.20.0", "", TargetFault::NotAnAddress},
      {"10.20.0.015", "", TargetFault::NotAnAddress},
      {"10.20.0.256/24", "", TargetFault::NotAnAddress},
      {"10.20.0.1.5", "", TargetFault::NotAnAddress},
      {"", "", TargetFault::NotAnAddress},
      {"10.20.0.255", "", TargetFault::NotAHost},
      {"127.0.0.1", "", TargetFault::NotAHost},
      {"127.0.0.0/24", "", TargetFault::BadNetwork},
      {"224.0.0.0/24", "", TargetFault::BadNetwork},
  };
  for (const Case& c : cases) {
    const TargetParse parse = ParseTarget(c.text);
    EXPECT_EQ(parse.fault, c.fault) << c.text;
    EXPECT_EQ(parse.entry ? parse.entry->Text() : "", c.kept) << c.text;
    EXPECT_EQ(TargetRefusalText(c.text, parse).empty(), c.fault == TargetFault::None) << c.text;
    EXPECT_EQ(TargetRefusalEnglish(c.text, parse).empty(), c.fault == TargetFault::None) << c.text;
  }
  EXPECT_EQ(TargetRefusalText("10.0.0.0/8", ParseTarget("10.0.0.0/8")),
            "Red demasiado grande: \"10.0.0.0/8\". Se admiten redes de hasta /22 (1022 "
            "direcciones).");
}

TEST(TargetList, DestinationsAreHostsThenBroadcastEachOnce) {
  const auto at = [](const char* text) { return *ParseDottedIPv4(text); };
  const auto entry = [](const char* text) { return *ParseTarget(text).entry; };
  const std::vector<Ipv4> small =
      TargetDestinations({entry("10.88.0.5"), entry("10.88.0.4/30"), entry("10.88.1.0/31")});
  EXPECT_EQ(small, (std::vector<Ipv4>{at("10.88.0.5"), at("10.88.0.6"), at("10.88.0.7"),
                                      at("10.88.1.0"), at("10.88.1.1")}));
  const std::vector<Ipv4> wide = TargetDestinations({entry("10.88.0.0/22")});
  ASSERT_EQ(wide.size(), 1023U);
  EXPECT_EQ(wide.front(), at("10.88.0.1"));
  EXPECT_EQ(wide[1021], at("10.88.3.254"));
  EXPECT_EQ(wide.back(), at("10.88.3.255"));
  EXPECT_TRUE(TargetsHold({entry("10.88.0.0/24")}, at("10.88.0.200")));
  EXPECT_FALSE(TargetsHold({entry("10.88.0.0/24"), entry("10.88.1.7")}, at("10.88.1.8")));
}

}  // namespace
}  // namespace tb
