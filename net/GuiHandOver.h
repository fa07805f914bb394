// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tb {

// Runs steps on the thread that created this object (the GUI thread) on
// behalf of a worker thread, without making the worker wait. A step runs
// whenever the GUI thread services its event queue, modal loops included,
// and in the order posted. A step that returns true asks to run again: it is
// posted anew behind whatever else is waiting, so a long run of work yields
// to the GUI's own events. Cancel() guarantees that no step starts after it
// until Reset(), so the GUI thread can stop the worker without either thread
// waiting on the other; steps posted before Reset() never run at all.
//
// Two builds: GuiHandOverQt.cpp posts the step to the Qt event loop of the
// creating thread; GuiHandOverInline.cpp, for builds without Qt (which have
// no event loop to post to), runs it at once on the worker itself, again
// while it asks to, one step at a time, with the same cancel rules.
class TGuiHandOver {
 public:
  using Step = std::function<bool()>;

  TGuiHandOver();
  TGuiHandOver(const TGuiHandOver&) = delete;
  TGuiHandOver& operator=(const TGuiHandOver&) = delete;
  ~TGuiHandOver();

  // Any thread. False when cancelled: the step will never run.
  bool Post(Step step);

  // GUI side.
  void Cancel();
  void Reset();

 private:
  struct State {
    std::mutex lock;
    bool cancelled = false;
    std::uint64_t epoch = 0;  // steps of an earlier epoch were cancelled
  };

  // Whatever the build needs to reach the creating thread; may stay empty.
  struct Context;

  std::shared_ptr<State> state_;
  std::unique_ptr<Context> context_;
};

}  // namespace tb
