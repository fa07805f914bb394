// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "net/GuiHandOver.h"

namespace tb {
namespace {

using namespace std::chrono_literals;

// A step that notes it ran and does not ask to run again.
TGuiHandOver::Step Marks(std::atomic<bool>& ran) {
  return [&ran] {
    ran = true;
    return false;
  };
}

void PumpUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (!done() && std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(1ms);
  }
}

TEST(HandOverTest, StepRunsOnCreatingThreadWithoutTheWorkerWaiting) {
  TGuiHandOver handOver;
  const auto gui = std::this_thread::get_id();
  std::atomic<bool> ranOnGui{false};
  std::atomic<bool> ran{false};
  std::thread worker([&] {
    EXPECT_TRUE(handOver.Post([&] {
      ranOnGui = std::this_thread::get_id() == gui;
      ran = true;
      return false;
    }));
  });
  worker.join();  // before any event is processed: posting never waits
  EXPECT_FALSE(ran.load());
  PumpUntil([&] { return ran.load(); });
  EXPECT_TRUE(ranOnGui.load());
}

TEST(HandOverTest, CancelDropsPostedStepsEvenAfterReset) {
  TGuiHandOver handOver;
  std::atomic<bool> stale{false};
  std::thread worker([&] { handOver.Post(Marks(stale)); });
  worker.join();
  handOver.Cancel();
  EXPECT_FALSE(handOver.Post(Marks(stale))) << "refused until Reset";
  handOver.Reset();
  std::atomic<bool> fresh{false};
  EXPECT_TRUE(handOver.Post(Marks(fresh)));
  PumpUntil([&] { return fresh.load(); });
  EXPECT_TRUE(fresh.load());
  EXPECT_FALSE(stale.load()) << "a step posted before Cancel must never run";
}

TEST(HandOverTest, ExceptionInStepStaysOnTheGuiSide) {
  TGuiHandOver handOver;
  std::atomic<bool> after{false};
  handOver.Post([]() -> bool { throw std::runtime_error("handler failed"); });
  handOver.Post(Marks(after));
  PumpUntil([&] { return after.load(); });
  EXPECT_TRUE(after.load());
}

}  // namespace
}  // namespace tb
