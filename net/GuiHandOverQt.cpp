// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <utility>

#include "common/ThreadSanitizerSync.h"
#include "net/GuiHandOver.h"
#include "net/PostedEvent.h"

namespace tb {

namespace {

// One step on its way to the GUI thread. Running it tells whether it wants
// to run again.
class StepEvent : public PostedEvent<StepEvent> {
 public:
  explicit StepEvent(std::function<bool()> run) : run_(std::move(run)) {}

  bool Run() { return run_(); }
  std::function<bool()> Take() { return std::move(run_); }

 private:
  std::function<bool()> run_;
};

// Runs the steps posted to it on its own thread: the one that created it.
class StepTarget : public QObject {
 public:
  void Post(std::function<bool()> run) {
    auto* event = new StepEvent(std::move(run));
    MarkPosted(this);
    QCoreApplication::postEvent(this, event);
  }

 protected:
  bool event(QEvent* e) override {
    MarkReceived(this);
    if (e->type() == StepEvent::Kind()) {
      auto* step = static_cast<StepEvent*>(e);
      // Behind the events that came meanwhile; never touches this object
      // when the step cancelled it (the handler destroyed its endpoint).
      if (step->Run()) {
        Post(step->Take());
      }
      return true;
    }
    return QObject::event(e);
  }
};

}  // namespace

struct TGuiHandOver::Context {
  StepTarget target;
};

TGuiHandOver::TGuiHandOver()
    : state_(std::make_shared<State>()), context_(std::make_unique<Context>()) {}

// Steps still waiting for the GUI thread die with the context object.
TGuiHandOver::~TGuiHandOver() { Cancel(); }

bool TGuiHandOver::Post(Step step) {
  std::uint64_t epoch = 0;
  {
    const std::lock_guard<std::mutex> guard(state_->lock);
    if (state_->cancelled) {
      return false;
    }
    epoch = state_->epoch;
  }
  // The event owns the state, so a step that outlives its hand-over (the
  // handler destroyed the endpoint) finds it cancelled instead of dangling.
  auto run = [state = state_, step = std::move(step), epoch]() -> bool {
    const auto current = [&] {
      const std::lock_guard<std::mutex> guard(state->lock);
      return !state->cancelled && state->epoch == epoch;
    };
    if (!current()) {
      return false;
    }
    bool again = false;
    try {
      again = step();
    } catch (...) {  // NOLINT(bugprone-empty-catch): an event loop must not see it
    }
    return again && current();
  };
  context_->target.Post(std::move(run));
  return true;
}

}  // namespace tb
