// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ChangeTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <functional>
#include <limits>
#include <vector>

namespace tb {
namespace {

// Runs the event loop until the timer has fired `count` times or the limit
// passes; returns the milliseconds of each firing since `clock` started.
std::vector<qint64> Firings(TChangeTimer& timer, QElapsedTimer& clock, int count, int limitMs) {
  std::vector<qint64> at;
  timer.OnTimer = [&] { at.push_back(clock.elapsed()); };
  (void)QTest::qWaitFor([&] { return static_cast<int>(at.size()) >= count; }, limitMs);
  return at;
}

// A 300 ms countdown is touched halfway through; when it then fires tells
// whether the touch restarted it.
TEST(ChangeTimer, OnlyAChangedIntervalRestartsTheCountdown) {
  struct Case {
    const char* name;
    std::function<void(TChangeTimer&)> touch;
    qint64 earliest;
    qint64 before;
  };
  const Case cases[] = {
      {"same interval and enabling again keep it",
       [](TChangeTimer& timer) {
         timer.SetInterval(300);
         timer.SetEnabled(true);
       },
       290, 420},
      {"a changed interval restarts it",
       [](TChangeTimer& timer) {
         timer.SetInterval(200);
         timer.SetInterval(300);
       },
       440, std::numeric_limits<qint64>::max()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TChangeTimer timer;
    QElapsedTimer clock;
    clock.start();
    timer.SetInterval(300);
    timer.SetEnabled(true);
    QTest::qWait(150);
    c.touch(timer);
    const auto at = Firings(timer, clock, 1, 1000);
    ASSERT_EQ(at.size(), 1U);
    EXPECT_GE(at[0], c.earliest);
    EXPECT_LT(at[0], c.before);
  }
}

TEST(ChangeTimer, DisabledTimerNeverFiresAndRepeatsWhileEnabled) {
  TChangeTimer timer;
  QElapsedTimer clock;
  clock.start();
  timer.SetInterval(50);
  EXPECT_TRUE(Firings(timer, clock, 1, 200).empty());
  timer.SetEnabled(true);
  EXPECT_EQ(Firings(timer, clock, 3, 1000).size(), 3U);
  timer.SetEnabled(false);
  EXPECT_TRUE(Firings(timer, clock, 1, 200).empty());
}

}  // namespace
}  // namespace tb
