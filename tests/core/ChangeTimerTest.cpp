#include "core/ChangeTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

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

TEST(ChangeTimer, SameIntervalOrEnablingAgainKeepsTheCountdown) {
  TChangeTimer timer;
  QElapsedTimer clock;
  clock.start();
  timer.SetInterval(300);
  timer.SetEnabled(true);
  QTest::qWait(150);
  timer.SetInterval(300);
  timer.SetEnabled(true);
  const auto at = Firings(timer, clock, 1, 1000);
  ASSERT_EQ(at.size(), 1U);
  EXPECT_GE(at[0], 290);
  EXPECT_LT(at[0], 420);
}

TEST(ChangeTimer, ChangedIntervalRestartsTheCountdown) {
  TChangeTimer timer;
  QElapsedTimer clock;
  clock.start();
  timer.SetInterval(300);
  timer.SetEnabled(true);
  QTest::qWait(150);
  timer.SetInterval(200);
  timer.SetInterval(300);
  const auto at = Firings(timer, clock, 1, 1000);
  ASSERT_EQ(at.size(), 1U);
  EXPECT_GE(at[0], 440);
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
