// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ChangeTimer.h"

#include "net/SocketLayer.h"

namespace tb {

TChangeTimer::TChangeTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (OnTimer) {
      OnTimer();
    }
  });
}

void TChangeTimer::SetInterval(int milliseconds) {
  if (milliseconds == interval_) {
    return;
  }
  interval_ = milliseconds;
  Restart();
}

void TChangeTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) {
    return;
  }
  enabled_ = enabled;
  Restart();
}

void TChangeTimer::Restart() {
  if (enabled_ && interval_ > 0) {
    dueNs_ = socketlayer::WallClockNs() + std::int64_t{interval_} * 1'000'000;
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

}  // namespace tb
