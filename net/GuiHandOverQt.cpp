#include "GuiHandOver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <utility>

#include "ThreadSanitizerSync.h"

namespace tb {

namespace {

// One step on its way to the GUI thread.
class StepEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }

  explicit StepEvent(std::function<void()> run) : QEvent(Kind()), run_(std::move(run)) {}

  void Run() { run_(); }

 private:
  std::function<void()> run_;
};

// Runs the steps posted to it on its own thread: the one that created it.
class StepTarget : public QObject {
 protected:
  bool event(QEvent* e) override {
    MarkReceived(this);
    if (e->type() == StepEvent::Kind()) {
      static_cast<StepEvent*>(e)->Run();
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
  // The event owns the step and the state: if the worker is released while
  // the step runs (the handler stopped the endpoint), neither may dangle.
  auto shared = std::make_shared<std::function<void()>>(std::move(step));
  std::shared_ptr<State> state = state_;
  auto run = [state, shared, id] {
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
  };
  auto* event = new StepEvent(std::move(run));
  MarkPosted(&context_->target);
  QCoreApplication::postEvent(&context_->target, event);

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
