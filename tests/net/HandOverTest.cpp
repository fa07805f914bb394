#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "GuiHandOver.h"

namespace tb {
namespace {

using namespace std::chrono_literals;

void PumpUntil(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (!done() && std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(1ms);
  }
}

TEST(HandOverTest, StepRunsOnCreatingThreadAndWorkerWaits) {
  TGuiHandOver handOver;
  const auto gui = std::this_thread::get_id();
  std::atomic<bool> ranOnGui{false};
  std::atomic<int> result{-1};
  std::thread worker([&] {
    result = handOver.Run([&] { ranOnGui = std::this_thread::get_id() == gui; }) ? 1 : 0;
  });
  PumpUntil([&] { return result.load() != -1; });
  worker.join();
  EXPECT_EQ(result.load(), 1);
  EXPECT_TRUE(ranOnGui.load());
}

TEST(HandOverTest, CancelReleasesAWaitingWorkerAndNothingRunsLater) {
  TGuiHandOver handOver;
  std::atomic<bool> ran{false};
  std::atomic<int> result{-1};
  std::thread worker([&] { result = handOver.Run([&] { ran = true; }) ? 1 : 0; });
  std::this_thread::sleep_for(20ms);  // the worker is waiting: nothing pumps events
  handOver.Cancel();
  worker.join();
  EXPECT_EQ(result.load(), 0);
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran.load()) << "a cancelled step must never run";
  EXPECT_FALSE(handOver.Run([&] { ran = true; })) << "refused until Reset";

  handOver.Reset();
  std::thread again([&] { result = handOver.Run([&] { ran = true; }) ? 1 : 0; });
  PumpUntil([&] { return ran.load(); });
  again.join();
  EXPECT_TRUE(ran.load());
}

TEST(HandOverTest, ExceptionInStepStaysOnTheGuiSide) {
  TGuiHandOver handOver;
  std::atomic<int> result{-1};
  std::thread worker(
      [&] { result = handOver.Run([] { throw std::runtime_error("handler failed"); }) ? 1 : 0; });
  PumpUntil([&] { return result.load() != -1; });
  worker.join();
  EXPECT_EQ(result.load(), 1);
}

}  // namespace
}  // namespace tb
