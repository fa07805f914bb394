// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsFirewall.h"

#include <gtest/gtest.h>

namespace tb::diagnosis::windows_checks {
namespace {

constexpr auto Problem = Verdict::Level::Problem;
constexpr auto Ok = Verdict::Level::Ok;
const char* const Program = R"(C:\Program Files\Tarnwick\tarnwick-brelvan.exe)";

FirewallReading On(int active, std::vector<FirewallRule> rules) {
  return {{},
          active,
          {{ProfileDomain, true, false, false},
           {ProfilePrivate, true, false, false},
           {ProfilePublic, true, false, false}},
          std::move(rules)};
}

// Policies as INetFwPolicy2 showed them; each expected verdict is its
// subject, level and a piece of its detail or its mend.
TEST(WindowsFirewall, ActiveProfilesJudgedFromTheirRules) {
  struct Expected {
    const char* subject;
    Verdict::Level level;
    const char* piece;
  };
  struct Case {
    FirewallReading reading;
    std::vector<Expected> verdicts;
  };
  const FirewallRule port{"Brelvan", true, true, ProfilePrivate, ProtocolUdp, "990-999", ""};
  const FirewallRule app{"Brelvan app", true, true, ProfilePublic, ProtocolAny, "*", Program};
  const FirewallRule other{"Otro", true, true, ProfilePublic, ProtocolAny, "*", "C:\\otro.exe"};
  const FirewallRule block{"Cerrado", true, false, ProfilePublic, ProtocolUdp, "53,998", ""};
  const FirewallRule tcp{"TCP", true, true, ProfilePublic, 6, "998", ""};
  const FirewallRule rpc{"RPC", true, true, ProfilePublic, ProtocolUdp, "RPC", ""};
  const FirewallRule off{"Apagada", false, true, ProfilePublic, ProtocolUdp, "998", ""};
  FirewallReading disabled = On(ProfilePublic, {});
  disabled.profiles[2].enabled = false;
  FirewallReading shields = On(ProfilePublic, {app});
  shields.profiles[2].blockAllInbound = true;
  FirewallReading open = On(ProfilePublic, {});
  open.profiles[2].allowInboundByDefault = true;
  const Case cases[] = {
      {On(ProfilePrivate, {port}), {{"Private", Ok, "rule \"Brelvan\" lets UDP 998 in"}}},
      {On(ProfilePublic, {port}),
       {{"Public", Problem,
         "netsh advfirewall firewall add rule name=\"Tarnwick Brelvan\" dir=in action=allow "
         "protocol=UDP localport=998 profile=public   (as administrator)"}}},
      {On(ProfilePublic, {other, tcp, rpc, off}), {{"Public", Problem, "no inbound rule"}}},
      {On(ProfilePublic, {FirewallRule{app}}), {{"Public", Ok, "\"Brelvan app\""}}},
      {On(ProfilePublic | ProfilePrivate, {port, app, block}),
       {{"Private", Ok, "\"Brelvan\""},
        {"Public", Problem,
         "netsh advfirewall firewall set rule name=\"Cerrado\" new enable=no   (as "
         "administrator)"}}},
      {disabled, {{"Public", Verdict::Level::Note, "off on the active Public profile"}}},
      {shields, {{"Public", Problem, "blockinbound,allowoutbound"}}},
      {open, {{"Public", Ok, "unless a rule blocks them"}}},
      {On(0, {}), {{"", Verdict::Level::Skipped, "names no active profile"}}},
      {{"0x80004001", 0, {}, {}},
       {{"", Verdict::Level::Skipped, "could not be read (0x80004001)"}}},
  };
  for (const Case& c : cases) {
    std::vector<Verdict> out;
    CheckFirewall(c.reading, QString::fromUtf8(Program).toLower(), out);
    ASSERT_EQ(out.size(), c.verdicts.size()) << c.verdicts.front().piece;
    for (std::size_t i = 0; i < out.size(); ++i) {
      EXPECT_EQ(out[i].check, "firewall");
      EXPECT_EQ(out[i].subject, c.verdicts[i].subject);
      EXPECT_EQ(out[i].level, c.verdicts[i].level) << c.verdicts[i].piece;
      EXPECT_TRUE(out[i].detail.contains(QString::fromUtf8(c.verdicts[i].piece)) ||
                  out[i].mend.contains(QString::fromUtf8(c.verdicts[i].piece)))
          << out[i].detail.toStdString() << " | " << out[i].mend.toStdString();
    }
  }
}

}  // namespace
}  // namespace tb::diagnosis::windows_checks
