// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/GuiHandOver.h"

namespace tb {

// Without an event loop there is no queue to post to: the worker runs the
// step itself. Steps of several workers still never overlap.
struct TGuiHandOver::Context {
  std::mutex serial;
};

TGuiHandOver::TGuiHandOver()
    : state_(std::make_shared<State>()), context_(std::make_unique<Context>()) {}

TGuiHandOver::~TGuiHandOver() { Cancel(); }

// The step is taken by value for the Qt build, which keeps it until the GUI thread runs it.
bool TGuiHandOver::Post(Step step) {  // NOLINT(performance-unnecessary-value-param)
  const std::lock_guard<std::mutex> serial(context_->serial);
  // The state lock is not held while the step runs, so Cancel() from the
  // owning thread never waits on a handler.
  const auto cancelled = [this] {
    const std::lock_guard<std::mutex> guard(state_->lock);
    return state_->cancelled;
  };
  if (cancelled()) {
    return false;
  }
  bool again = true;
  while (again && !cancelled()) {
    try {
      again = step();
    } catch (...) {  // NOLINT(bugprone-empty-catch): the owner never sees a step's error
      again = false;
    }
  }
  return true;
}

}  // namespace tb
