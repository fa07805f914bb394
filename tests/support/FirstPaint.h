// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

namespace tb::lab {

inline long long MonotonicNsNow() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// At the first paint of `window` or any widget in it prints "shown <ns>"
// and, when the parent set TB_SPAWN_NS, "startup <ns since spawn>", then runs
// `then` once. It watches those widgets only, never the events that other
// threads post to other objects.
class FirstPaint : public QObject {
 public:
  FirstPaint(QWidget& window, std::function<void()> then) : then_(std::move(then)) {
    window.installEventFilter(this);
    for (QWidget* child : window.findChildren<QWidget*>()) {
      child->installEventFilter(this);
    }
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint) {
      done_ = true;
      const long long now = MonotonicNsNow();
      std::printf("shown %lld\n", now);
      if (const char* spawn = std::getenv("TB_SPAWN_NS")) {
        std::printf("startup %lld\n", now - std::atoll(spawn));
      }
      std::fflush(stdout);
      then_();
    }
    return false;
  }

 private:
  std::function<void()> then_;
  bool done_ = false;
};

}  // namespace tb::lab
