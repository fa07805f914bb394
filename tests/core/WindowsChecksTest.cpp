// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsChecks.h"

#include <gtest/gtest.h>

namespace tb::diagnosis::windows_checks {
namespace {

constexpr std::uint32_t Lan = 0xC0A8010A;    // 192.168.1.10
constexpr std::uint32_t Apipa = 0xA9FE0203;  // 169.254.2.3

// Adapters as GetAdaptersAddresses described them on PCs that found nothing.
TEST(WindowsChecks, EachAdapterJudgedFromWhatWasRead) {
  struct Case {
    AdapterReading adapter;
    Verdict::Level level;
    const char* detail;
    const char* mend;
  };
  const Case cases[] = {
      {{"Ethernet", "Intel(R) Ethernet", IfTypeEthernet, true, false, {{Lan, 24}}},
       Verdict::Level::Ok,
       "up, Ethernet, 192.168.1.10/24",
       ""},
      {{"Wi-Fi", "Intel(R) Wireless-AC", IfTypeWifi, true, false, {{Lan, 24}}},
       Verdict::Level::Ok,
       "up, Wi-Fi, 192.168.1.10/24",
       ""},
      {{"Ethernet 2", "Realtek PCIe", IfTypeEthernet, true, false, {{Apipa, 16}}},
       Verdict::Level::Problem,
       "169.254.2.3 only: no DHCP server answered, so devices on its network cannot be reached",
       "ipconfig /renew \"Ethernet 2\""},
      {{"Ethernet", "Intel", IfTypeEthernet, false, true, {{Lan, 24}}},
       Verdict::Level::Note,
       "media disconnected (cable, radio), 192.168.1.10/24",
       ""},
      {{"Ethernet", "Intel", IfTypeEthernet, false, false, {{Lan, 24}}},
       Verdict::Level::Problem,
       "down, with 192.168.1.10/24: nothing is sent or heard there",
       "netsh interface set interface name=\"Ethernet\" admin=enabled   (as administrator)"},
      {{"vEthernet (WSL)",
        "Hyper-V Virtual Ethernet Adapter",
        IfTypeEthernet,
        true,
        false,
        {{0xAC100001, 20}}},
       Verdict::Level::Note,
       "virtual adapter, 172.16.0.1/20: devices are not found through it, and it may take their "
       "answers",
       ""},
      {{"Oficina", "TAP-Windows Adapter V9", IfTypeEthernet, true, false, {{0x0A080001, 24}}},
       Verdict::Level::Note,
       "tunnel or VPN adapter, 10.8.0.1/24: devices are not found through it, and it may take "
       "their answers",
       ""},
      {{"wg0", "WireGuard Tunnel", IfTypeTunnel, true, false, {{0x0A080001, 24}}},
       Verdict::Level::Note,
       "tunnel or VPN adapter, 10.8.0.1/24: devices are not found through it, and it may take "
       "their answers",
       ""},
  };
  for (const Case& c : cases) {
    std::vector<Verdict> out;
    CheckAdapters({c.adapter}, out);
    ASSERT_EQ(out.size(), 1U) << c.detail;
    EXPECT_EQ(out[0].subject, c.adapter.name);
    EXPECT_EQ(out[0].level, c.level) << c.detail;
    EXPECT_EQ(out[0].detail, c.detail);
    EXPECT_EQ(out[0].mend, c.mend) << c.detail;
  }
  // The loopback and adapters without IPv4 are no networks to search.
  std::vector<Verdict> out;
  CheckAdapters({{"Loopback", "", IfTypeLoopback, true, false, {{0x7F000001, 8}}},
                 {"Bluetooth", "", IfTypeEthernet, false, true, {}}},
                out);
  ASSERT_EQ(out.size(), 1U);
  EXPECT_EQ(out[0].level, Verdict::Level::Problem);
  EXPECT_EQ(out[0].mend, "ipconfig");
}

TEST(WindowsChecks, PortHoldersOtherThanTheProgramItself) {
  struct Case {
    std::vector<PortHolder> holders;
    long long ownPid;
    std::vector<std::pair<Verdict::Level, QString>> verdicts;  // level, detail, mend or subject
  };
  const Case cases[] = {
      {{}, 0, {{Verdict::Level::Ok, "998 is free on every address"}}},
      {{{Lan, 40, "tarnwick-brelvan.exe"}},
       40,
       {{Verdict::Level::Ok, "998 is held by this program alone"}}},
      {{{Lan, 40, "tarnwick-brelvan.exe"}}, 0, {{Verdict::Level::Problem, "taskkill /PID 40"}}},
      {{{Lan, 40, "tarnwick-brelvan.exe"}, {0, 77, "otro.exe"}},
       40,
       {{Verdict::Level::Problem, "998 is held by otro.exe (pid 77)"}}},
      {{{Lan, 77, "otro.exe"}, {0, 40, "tarnwick-brelvan.exe"}, {Apipa, 77, "otro.exe"}},
       40,
       {{Verdict::Level::Problem, "192.168.1.10, 169.254.2.3"}}},
      {{{0, 77, ""}},
       40,
       {{Verdict::Level::Problem,
         "998 is held by a program this user may not see (pid 77; run as administrator to see its "
         "name)"}}},
  };
  for (const Case& c : cases) {
    std::vector<Verdict> out;
    CheckPortHolders(c.holders, c.ownPid, out);
    ASSERT_EQ(out.size(), c.verdicts.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].level, c.verdicts[i].first);
      EXPECT_TRUE(out[i].detail == c.verdicts[i].second || out[i].mend == c.verdicts[i].second ||
                  out[i].subject == c.verdicts[i].second)
          << out[i].detail.toStdString();
    }
  }
}

}  // namespace
}  // namespace tb::diagnosis::windows_checks
