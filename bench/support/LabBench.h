// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <functional>

namespace tb {
class TIdUDPServer;
}

namespace tb::bench {

// A datagram socket on the PC's first lab address, port 998: the yardstick
// that the program's receive path is measured against. Outside the lab it
// cannot bind, and the benchmark is skipped with the reason.
class LabSocket {
 public:
  LabSocket(benchmark::State& state, bool broadcast = false);
  LabSocket(const LabSocket&) = delete;
  LabSocket& operator=(const LabSocket&) = delete;
  ~LabSocket();

  bool Ok() const { return fd_ >= 0; }
  int Fd() const { return fd_; }

  // Takes one datagram an iteration, as fast as they come, and counts them.
  void ReceiveEachIteration(benchmark::State& state) const;

 private:
  int fd_ = -1;
};

// Binds `server` to the PC's first lab address, port 998, and activates it;
// false, the benchmark skipped, when it cannot.
bool ListenOnLab(benchmark::State& state, TIdUDPServer& server);

// Runs the event loop until `done`, sleeping while nothing is pending.
void ProcessEventsUntil(const std::function<bool()>& done);

// Each iteration turns the event loop until `count()` has moved on, then
// counts what it moved by.
void ProcessEventsEachIteration(benchmark::State& state,
                                const std::function<std::int64_t()>& count);

}  // namespace tb::bench
