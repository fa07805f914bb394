// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>

#include "core/diagnosis/LinuxChecks.h"

namespace tb::diagnosis::linux_checks {
namespace {

// The window holds port 998 itself: it is no stranger holding the port, and
// whoever holds it beside the window still is one.
TEST(PortCheck, OwnProcessIsNoHolderOfThePort) {
  constexpr Address A = 0x0A4D0001;  // 10.77.0.1
  const PortFacts facts{1000, 1024, QStringLiteral("with cap_net_bind_service"), "/bin/w"};
  struct Case {
    const char* what;
    long long ownPid;
    QStringList holders;
    QStringList pids;
    Verdict::Level level;
    QString detail;
    QString mend;
  };
  const Case cases[] = {
      {"held by the window, asked by the doctor",
       0,
       {"w (pid 5)"},
       {"5"},
       Verdict::Level::Problem,
       "998 is held by w (pid 5)",
       "kill 5"},
      {"held by the window, asked by it",
       5,
       {"w (pid 5)"},
       {"5"},
       Verdict::Level::Ok,
       "998 can be bound on 10.77.0.1 (with cap_net_bind_service)",
       ""},
      {"held by the window and another",
       5,
       {"w (pid 5)", "x (pid 7)"},
       {"5", "7"},
       Verdict::Level::Problem,
       "998 is held by x (pid 7)",
       "kill 7"},
      {"held by another alone",
       5,
       {"x (pid 7)"},
       {"7"},
       Verdict::Level::Problem,
       "998 is held by x (pid 7)",
       "kill 7"},
  };
  for (const Case& c : cases) {
    std::vector<BindAttempt> attempts{{A, EADDRINUSE, c.holders, c.pids}};
    ExcludeOwnProcess(attempts, c.ownPid);
    std::vector<Verdict> out;
    CheckPort(attempts, facts, out);
    ASSERT_EQ(out.size(), 1U) << c.what;
    EXPECT_EQ(out[0].level, c.level) << c.what;
    EXPECT_EQ(out[0].detail, c.detail) << c.what;
    EXPECT_EQ(out[0].mend, c.mend) << c.what;
  }
}

}  // namespace
}  // namespace tb::diagnosis::linux_checks
