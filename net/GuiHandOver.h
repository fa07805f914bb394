#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tb {

// Runs a step on the thread that created this object (the GUI thread) on
// behalf of a worker thread, and makes the worker wait until it has run.
// The step runs whenever the GUI thread services its event queue, modal
// loops included. Cancel() releases a waiting worker at once, without running
// its step, so the GUI thread can stop the worker without the two threads
// ever waiting on each other; nothing runs after Cancel() until Reset().
//
// Two builds: GuiHandOverQt.cpp posts the step to the Qt event loop of the
// creating thread; GuiHandOverInline.cpp, for builds without Qt (which have
// no event loop to post to), runs it on the worker itself, one step at a
// time, with the same cancel rules.
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

  // Whatever the build needs to reach the creating thread; may stay empty.
  struct Context;

  std::shared_ptr<State> state_;
  std::unique_ptr<Context> context_;
};

}  // namespace tb
