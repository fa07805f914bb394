// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tb::lab {

// Nanoseconds on the monotonic clock, which parent and child share.
std::int64_t MonotonicNs();

// A program started in the caller's namespace with its standard output
// captured. The spawn time goes to the child in TB_SPAWN_NS, so that it can
// report how long it took to reach a point.
class ChildProgram {
 public:
  struct Result {
    bool exited = false;  // false: killed after the time-out
    int status = -1;      // exit status, or 128 + signal
    std::string output;   // standard output and standard error
    std::int64_t spawnNs = 0;
    std::int64_t exitNs = 0;  // when the parent saw it end (to about 1 ms)
    long maxRssKb = 0;        // peak resident size
  };

  ChildProgram(const std::string& path, const std::vector<std::string>& args);
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;
  // Kills the child if it still runs.
  ~ChildProgram();

  bool Started() const { return pid_ > 0; }
  int Pid() const { return pid_; }
  Result Wait(std::chrono::milliseconds timeout);

 private:
  int pid_ = -1;
  int output_ = -1;
  std::int64_t spawnNs_ = 0;
};

// The number after "<key> " on a line of `output`, or 0.
std::int64_t ReportedValue(const std::string& output, const std::string& key);

}  // namespace tb::lab
