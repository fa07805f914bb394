// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace tb {

// A repeating GUI timer whose countdown restarts only when its interval or
// its enabled state actually changes. Setting the same interval again, or
// enabling it while it runs, leaves the running countdown alone, which is
// what lets a second query inside a listening window keep that window's end.
class TChangeTimer : public QObject {
  Q_OBJECT

 public:
  explicit TChangeTimer(QObject* parent = nullptr);

  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // When the running countdown ends, on the wall clock that stamps received
  // datagrams (socketlayer::WallClockNs); meaningful while enabled.
  std::int64_t DueNs() const { return dueNs_; }

  std::function<void()> OnTimer;

 private:
  void Restart();

  QTimer timer_;
  int interval_ = 1000;
  bool enabled_ = false;
  std::int64_t dueNs_ = 0;
};

}  // namespace tb
