// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "net/GuiHandOver.h"

namespace tb {
namespace {

// A step that notes it ran and does not ask to run again.
TGuiHandOver::Step Marks(std::atomic<bool>& ran) {
  return [&ran] {
    ran = true;
    return false;
  };
}

// Without Qt the worker runs its step itself, again while it asks to; the
// cancel rules are those of the GUI build.
TEST(HandOverInlineTest, RunsOnTheWorkerUntilCancelled) {
  TGuiHandOver handOver;
  std::thread::id ranOn;
  int runs = 0;
  bool posted = false;
  std::thread worker([&] {
    posted = handOver.Post([&] {
      ranOn = std::this_thread::get_id();
      return ++runs < 3;
    });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
  });
  worker.join();
  EXPECT_TRUE(posted);
  EXPECT_EQ(runs, 3);

  handOver.Cancel();
  std::atomic<bool> stepRan{false};
  EXPECT_FALSE(handOver.Post(Marks(stepRan)));
  EXPECT_FALSE(stepRan.load()) << "nothing runs after Cancel";

  handOver.Reset();
  EXPECT_TRUE(handOver.Post(Marks(stepRan)));
  EXPECT_TRUE(stepRan.load());
}

TEST(HandOverInlineTest, StepErrorsStayInside) {
  TGuiHandOver handOver;
  EXPECT_TRUE(handOver.Post([]() -> bool { throw std::runtime_error("handler failed"); }));
}

// Cancel from the owner while a step runs neither waits for the step nor
// lets it or a later one run again.
TEST(HandOverInlineTest, CancelDuringAStepDoesNotWaitForIt) {
  TGuiHandOver handOver;
  std::atomic<bool> inStep{false};
  std::atomic<bool> release{false};
  std::atomic<int> runs{0};
  std::thread worker([&] {
    handOver.Post([&] {
      ++runs;
      inStep = true;
      while (!release) {
        std::this_thread::yield();
      }
      return true;
    });
  });
  while (!inStep) {
    std::this_thread::yield();
  }
  handOver.Cancel();
  release = true;
  worker.join();
  EXPECT_EQ(runs.load(), 1);
  EXPECT_FALSE(handOver.Post([] { return false; }));
}

}  // namespace
}  // namespace tb
