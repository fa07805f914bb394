// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsQuery.h"

#include <gtest/gtest.h>

namespace tb::diagnosis::windows_checks {
namespace {

constexpr std::uint32_t Lan = 0xC0A8010A;    // 192.168.1.10
constexpr std::uint32_t Other = 0x0A000001;  // 10.0.0.1

// What queries out of each adapter heard; each expected verdict is its
// subject, level and its detail or its mend.
TEST(WindowsQuery, AnswersCountedPerAdapterAndForeignDevicesNamed) {
  struct Expected {
    const char* subject;
    Verdict::Level level;
    const char* text;
  };
  struct Case {
    std::vector<AdapterQuery> queries;
    std::vector<Expected> verdicts;
  };
  const HeardAnswer a{"00:11:22:33:44:01", "Uno", "192.168.1.20", Lan};
  const HeardAnswer foreign{"00:11:22:33:44:02", "Dos", "172.16.0.9", Lan};
  const HeardAnswer blank{"00:11:22:33:44:03", "Tres", "0.0.0.0", Lan};
  const Case cases[] = {
      {{{"Ethernet", {Lan, 24}, std::vector{a, a}}},
       {{"Ethernet", Verdict::Level::Ok,
         "1 device(s) answered a query out of Ethernet "
         "(192.168.1.10)"}}},
      {{{"Ethernet", {Lan, 24}, std::vector{a, foreign}}, {"Wi-Fi", {Other, 8}, std::nullopt}},
       {{"Ethernet", Verdict::Level::Ok,
         "2 device(s) answered a query out of Ethernet "
         "(192.168.1.10)"},
        {"00:11:22:33:44:02", Verdict::Level::Note,
         "brelvan configure 00:11:22:33:44:02 --ip ADDRESS --netmask 255.255.255.0 --gateway "
         "0.0.0.0   (ADDRESS: a free address of 192.168.1.0/24)"},
        {"Wi-Fi", Verdict::Level::Skipped,
         "no query could be sent out of 10.0.0.1; see the port "
         "check"}}},
      {{{"Ethernet", {Lan, 24}, std::vector{blank}}},
       {{"Ethernet", Verdict::Level::Ok,
         "1 device(s) answered a query out of Ethernet "
         "(192.168.1.10)"},
        {"00:11:22:33:44:03", Verdict::Level::Note,
         "Tres answered on Ethernet with no IP address yet (\"0.0.0.0\"): its web page cannot be "
         "reached"}}},
      {{{"Ethernet", {Lan, 24}, std::vector<HeardAnswer>{}}},
       {{"Ethernet", Verdict::Level::Note,
         "0 device(s) answered a query out of Ethernet "
         "(192.168.1.10)"},
        {"", Verdict::Level::Problem, "no device answered on any adapter"}}},
      // Nothing went out: no claim that nothing answered.
      {{{"Ethernet", {Lan, 24}, std::nullopt}},
       {{"Ethernet", Verdict::Level::Skipped,
         "no query could be sent out of 192.168.1.10; see the port check"}}},
  };
  for (const Case& c : cases) {
    std::vector<Verdict> out;
    CheckQueries(c.queries, out);
    ASSERT_EQ(out.size(), c.verdicts.size()) << c.verdicts.front().text;
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].subject, c.verdicts[i].subject);
      EXPECT_EQ(out[i].level, c.verdicts[i].level) << c.verdicts[i].text;
      EXPECT_TRUE(out[i].detail == c.verdicts[i].text || out[i].mend == c.verdicts[i].text)
          << out[i].detail.toStdString() << " | " << out[i].mend.toStdString();
    }
  }
}

// Every address of every adapter that is up is asked, from that address and
// to its own network's broadcast.
TEST(WindowsQuery, OneQueryPerAddressOfEachAdapterUp) {
  const std::vector<AdapterReading> adapters = {
      {"Ethernet", "", IfTypeEthernet, true, false, {{Lan, 24}, {Other, 8}}},
      {"Loopback", "", IfTypeLoopback, true, false, {{0x7F000001, 8}}},
      {"Wi-Fi", "", IfTypeWifi, false, true, {{0xC0A80201, 24}}}};
  std::vector<std::pair<std::uint32_t, std::uint32_t>> asked;
  const auto queries = QueryAdapters(
      adapters,
      [&](std::uint32_t from, std::uint32_t to, int) {
        asked.emplace_back(from, to);
        return std::optional<std::vector<HeardAnswer>>(std::vector<HeardAnswer>{});
      },
      100);
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected = {{Lan, 0xC0A801FF},
                                                                         {Other, 0x0AFFFFFF}};
  EXPECT_EQ(asked, expected);
  ASSERT_EQ(queries.size(), 2U);
  EXPECT_EQ(queries[1].adapter, "Ethernet");
}

}  // namespace
}  // namespace tb::diagnosis::windows_checks
