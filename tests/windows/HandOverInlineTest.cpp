#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "GuiHandOver.h"

namespace tb {
namespace {

// Without Qt the worker runs its step itself; the cancel rules are those of
// the GUI build.
TEST(HandOverInlineTest, RunsOnTheWorkerUntilCancelled) {
  TGuiHandOver handOver;
  std::thread::id ranOn;
  bool ran = false;
  std::thread worker([&] {
    ran = handOver.Run([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
  });
  worker.join();
  EXPECT_TRUE(ran);

  handOver.Cancel();
  bool stepRan = false;
  EXPECT_FALSE(handOver.Run([&] { stepRan = true; }));
  EXPECT_FALSE(stepRan) << "nothing runs after Cancel";

  handOver.Reset();
  EXPECT_TRUE(handOver.Run([&] { stepRan = true; }));
  EXPECT_TRUE(stepRan);
}

TEST(HandOverInlineTest, StepErrorsStayInside) {
  TGuiHandOver handOver;
  EXPECT_TRUE(handOver.Run([] { throw std::runtime_error("handler failed"); }));
}

// Cancel from the owner while a step runs neither waits for the step nor
// lets a later one start.
TEST(HandOverInlineTest, CancelDuringAStepDoesNotWaitForIt) {
  TGuiHandOver handOver;
  std::atomic<bool> inStep{false};
  std::atomic<bool> release{false};
  std::thread worker([&] {
    handOver.Run([&] {
      inStep = true;
      while (!release) {
        std::this_thread::yield();
      }
    });
  });
  while (!inStep) {
    std::this_thread::yield();
  }
  handOver.Cancel();
  release = true;
  worker.join();
  EXPECT_FALSE(handOver.Run([] {}));
}

}  // namespace
}  // namespace tb
