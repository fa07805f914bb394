#include "GuiHandOver.h"

#include <QMetaObject>
#include <QObject>

namespace tb {

// Queued calls are posted to this object, so they run on its thread: the one
// that created the hand-over.
struct TGuiHandOver::Context {
  QObject target;
};

TGuiHandOver::TGuiHandOver()
    : state_(std::make_shared<State>()), context_(std::make_unique<Context>()) {}

// Queued calls still waiting for the GUI thread die with the context object.
TGuiHandOver::~TGuiHandOver() { Cancel(); }

bool TGuiHandOver::Run(std::function<void()> step) {
  std::uint64_t id = 0;
  {
    const std::lock_guard<std::mutex> guard(state_->lock);
    if (state_->cancelled) {
      return false;
    }
    id = ++state_->lastIssued;
    state_->pending = id;
  }
  // The queued call owns the step and the state: if the worker is released
  // while the step runs (the handler stopped the endpoint), neither may dangle.
  auto shared = std::make_shared<std::function<void()>>(std::move(step));
  std::shared_ptr<State> state = state_;
  QMetaObject::invokeMethod(
      &context_->target,
      [state, shared, id] {
        {
          const std::lock_guard<std::mutex> guard(state->lock);
          if (state->cancelled || state->pending != id) {
            return;
          }
        }
        struct Finish {
          State& s;
          std::uint64_t id;
          ~Finish() {
            const std::lock_guard<std::mutex> guard(s.lock);
            s.finished = id;
            s.changed.notify_all();
          }
        } finish{*state, id};
        try {
          (*shared)();
        } catch (...) {  // NOLINT(bugprone-empty-catch): an event loop must not see it
        }
      },
      Qt::QueuedConnection);

  std::unique_lock<std::mutex> lock(state_->lock);
  state_->changed.wait(lock, [&] { return state_->finished == id || state_->cancelled; });
  const bool ran = state_->finished == id;
  state_->pending = 0;
  return ran;
}

void TGuiHandOver::Cancel() {
  const std::lock_guard<std::mutex> guard(state_->lock);
  state_->cancelled = true;
  state_->pending = 0;
  state_->changed.notify_all();
}

void TGuiHandOver::Reset() {
  const std::lock_guard<std::mutex> guard(state_->lock);
  state_->cancelled = false;
}

}  // namespace tb
