#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

namespace tb {

// Runs a step on the thread that created this object (the GUI thread) on
// behalf of a worker thread, and makes the worker wait until it has run.
// The step runs whenever the GUI thread services its event queue, modal
// loops included. Cancel() releases a waiting worker at once, without running
// its step, so the GUI thread can stop the worker without the two threads
// ever waiting on each other; nothing runs after Cancel() until Reset().
class TGuiHandOver {
 public:
  TGuiHandOver();
  TGuiHandOver(const TGuiHandOver&) = delete;
  TGuiHandOver& operator=(const TGuiHandOver&) = delete;
  ~TGuiHandOver();

  // Worker side. True when the step ran, false when cancelled.
  bool Run(std::function<void()> step);

  // GUI side.
  void Cancel();
  void Reset();

 private:
  struct State {
    std::mutex lock;
    std::condition_variable changed;
    bool cancelled = false;
    std::uint64_t lastIssued = 0;
    std::uint64_t pending = 0;  // the request a worker waits on; 0 for none
    std::uint64_t finished = 0;
  };

  std::shared_ptr<State> state_;
  std::unique_ptr<QObject> context_;
};

}  // namespace tb
