// SPDX-License-Identifier: GPL-3.0-or-later
// Discovery at scale: the device simulator on dev1 plays n devices at once.
// How many reach the list within the query's 500 ms window, in the real main
// window, against a bare socket that sends the same HELLO() fan-out from the
// same address and counts the distinct devices it hears in 500 ms, and
// against the program's endpoint with a handler that only counts. Devices
// answer at once (jitter 0: the simulator sends as fast as it can) or spread
// over the first 300 ms of the window, as a real network of devices would.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <unordered_set>

#include "app/MainWindow.h"
#include "bench/app/BenchSupport.h"
#include "bench/support/LabBench.h"
#include "core/DeviceListModel.h"
#include "core/FanOut.h"
#include "net/IdStack.h"
#include "net/IdUDPServer.h"
#include "net/LocalInterfaces.h"
#include "net/SocketAddressPosix.h"
#include "protocol/Message.h"
#include "tests/support/LabSupport.h"
#include "ui/MessageBoxes.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The simulator playing a fresh fleet on dev1: as many devices, and as much
// jitter, as the benchmark's arguments say.
struct Fleet {
  explicit Fleet(const benchmark::State& state)
      : count(static_cast<int>(state.range(0))),
        path(tb::bench::WriteFleet(count, "dev1", static_cast<int>(state.range(1)))),
        logPath(path + ".log"),
        simulator("dev1", logPath, path) {}
  Fleet(const Fleet&) = delete;
  Fleet& operator=(const Fleet&) = delete;
  ~Fleet() {
    std::remove(path.c_str());
    std::remove(logPath.c_str());
  }

  // False, the benchmark skipped, when the simulator did not start.
  bool Ready(benchmark::State& state) const {
    if (!simulator.Ready()) {
      state.SkipWithError("simulator did not start (run inside the lab)");
      return false;
    }
    return true;
  }

  int count;
  std::string path;
  std::string logPath;
  tb::lab::Simulator simulator;
};

// Lets the simulator finish answering the last query before the next one.
void Settle() { tb::lab::RunLoopFor(700ms); }

// Runs `query`, which returns how many devices it heard, once an iteration,
// each followed by `settle` outside the timing, and reports how many of the
// fleet's devices the queries reached.
void MeasureQueries(benchmark::State& state, const Fleet& fleet,
                    const std::function<std::size_t()>& query,
                    const std::function<void()>& settle = Settle) {
  double heard = 0;
  auto fewest = static_cast<double>(fleet.count);
  for ([[maybe_unused]] auto _ : state) {
    const auto devices = static_cast<double>(query());
    heard += devices;
    fewest = std::min(fewest, devices);
    state.PauseTiming();
    settle();
    state.ResumeTiming();
  }
  const double perQuery = heard / static_cast<double>(state.iterations());
  state.counters["devices"] = fleet.count;
  state.counters["rows"] = perQuery;
  state.counters["reached"] = perQuery / fleet.count;
  state.counters["fewest"] = fewest;
}

void BM_DiscoveryBare(benchmark::State& state) {
  const Fleet fleet(state);
  if (!fleet.Ready(state)) {
    return;
  }
  const tb::bench::LabSocket socket(state, /*broadcast=*/true);
  if (!socket.Ok()) {
    return;
  }
  const int fd = socket.Fd();
  std::vector<char> buffer(8192);
  const long kernelBefore = tb::lab::KernelUdpDrops();
  const auto query = [&] {
    for (const char* to : {"10.77.0.255", "10.78.0.255", "255.255.255.255"}) {
      const sockaddr_in sa = tb::socketlayer::MakeAddress(*tb::ParseDottedIPv4(to), 998);
      ::sendto(fd, "HELLO()", 7, 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    }
    std::unordered_set<std::string> macs;
    const auto end = Clock::now() + 500ms;
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
      pollfd p{fd, POLLIN, 0};
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
      if (::poll(&p, 1, static_cast<int>(left.count()) + 1) <= 0) {
        continue;
      }
      const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
      if (n > 0) {
        macs.insert(tb::GetField(std::string(buffer.data(), static_cast<std::size_t>(n)), 2, ','));
      }
    }
    return macs.size();
  };
  MeasureQueries(state, fleet, query, [&] {
    Settle();
    while (::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT) >= 0) {
    }
  });
  tb::bench::CountDrops(state, kernelBefore, nullptr, true);
}

// The program's endpoint and fan-out without the window: every datagram is
// handed to the GUI thread, which only notes the device. What the transport
// alone lets through, before the list does anything.
void BM_DiscoveryEndpoint(benchmark::State& state) {
  const Fleet fleet(state);
  if (!fleet.Ready(state)) {
    return;
  }
  int failures = 0;
  const auto fail = [&](const tb::AnsiString&) { ++failures; };
  tb::TIdUDPServer server;
  server.BroadcastEnabled = true;
  tb::SetUpBindings(server, tb::ListHostAddresses, fail);
  std::unordered_set<std::string> macs;
  server.OnUDPRead = [&](tb::TIdUDPServer&, tb::TIdMemoryStream& data, tb::TIdSocketHandle&) {
    macs.insert(tb::GetField(data.DataString(), 2, ','));
  };
  const long kernelBefore = tb::lab::KernelUdpDrops();
  MeasureQueries(state, fleet, [&] {
    macs.clear();
    tb::SendCommandFanOut("HELLO()", server, tb::GetLocalInterfaces, fail);
    tb::lab::RunLoopFor(500ms);
    return macs.size();
  });
  if (failures > 0) {
    state.SkipWithError("the query reported a communication error");
  }
  tb::bench::CountDrops(state, kernelBefore, &server, true);
}

void BM_DiscoveryMainWindow(benchmark::State& state) {
  const Fleet fleet(state);
  if (!fleet.Ready(state)) {
    return;
  }
  int boxes = 0;
  tb::SetMessageBoxHandler([&](const tb::MessageRecord&) { ++boxes; });
  auto window = std::make_unique<tb::TfrmMain>();
  window->show();
  const auto idle = [&] { return window->FExchangeMode() == tb::ExchangeMode::Idle; };
  tb::lab::RunLoopUntil(idle, 3s);
  Settle();
  const long kernelBefore = tb::lab::KernelUdpDrops();
  MeasureQueries(state, fleet, [&] {
    window->RefreshDevices();
    tb::lab::RunLoopUntil(idle, 3s);
    return static_cast<std::size_t>(window->Devices()->Count());
  });
  if (boxes > 0) {
    state.SkipWithError("the query reported a communication error");
  }
  tb::bench::CountDrops(state, kernelBefore, &window->UDPServer(), true);
}

// The real main window while something else keeps both cores busy (bench.sh
// runs stress-ng beside it): how many of its queries end with fewer rows than
// the fleet has devices. Every reply reaches the machine within the window,
// so the target is none.
void BM_DiscoveryMainWindowUnderLoad(benchmark::State& state) {
  const Fleet fleet(state);
  if (!fleet.Ready(state)) {
    return;
  }
  int boxes = 0;
  tb::SetMessageBoxHandler([&](const tb::MessageRecord&) { ++boxes; });
  auto window = std::make_unique<tb::TfrmMain>();
  window->show();
  const auto idle = [&] { return window->FExchangeMode() == tb::ExchangeMode::Idle; };
  tb::lab::RunLoopUntil(idle, 3s);
  Settle();
  const long kernelBefore = tb::lab::KernelUdpDrops();
  int shortQueries = 0;
  int emptyQueries = 0;
  // Short queries although the endpoint had read at least one datagram per
  // device by the time the window was seen to end: the replies were in the
  // program, waiting for their handler, when the window closed.
  int shortWithRepliesRead = 0;
  MeasureQueries(state, fleet, [&] {
    const std::uint64_t readBefore = window->UDPServer().ArrivalsSoFar();
    window->RefreshDevices();
    tb::lab::RunLoopUntil(idle, 3s);
    const std::uint64_t read = window->UDPServer().ArrivalsSoFar() - readBefore;
    const int rows = window->Devices()->Count();
    if (rows < fleet.count) {
      ++shortQueries;
      shortWithRepliesRead += read >= static_cast<std::uint64_t>(fleet.count) ? 1 : 0;
      std::fprintf(stderr, "short query: %d rows, %llu datagrams read\n", rows,
                   static_cast<unsigned long long>(read));
    }
    emptyQueries += rows == 0 ? 1 : 0;
    return static_cast<std::size_t>(rows);
  });
  state.counters["short_queries"] = shortQueries;
  state.counters["empty_queries"] = emptyQueries;
  state.counters["short_with_replies_read"] = shortWithRepliesRead;
  if (boxes > 0) {
    state.SkipWithError("the query reported a communication error");
  }
  tb::bench::CountDrops(state, kernelBefore, &window->UDPServer(), false);
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (const int jitter : {0, 300}) {
    for (const int count : {100, 1000, 5000}) {
      b->Args({count, jitter});
    }
  }
  // The worst repetition beside the median: every query must find every device.
  b->ArgNames({"devices", "jitter_ms"})
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->ComputeStatistics("min", [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
      });
}
BENCHMARK(BM_DiscoveryBare)->Apply(Sizes);
BENCHMARK(BM_DiscoveryEndpoint)->Apply(Sizes);
BENCHMARK(BM_DiscoveryMainWindow)->Apply(Sizes);
BENCHMARK(BM_DiscoveryMainWindowUnderLoad)
    ->Args({1000, 0})
    ->ArgNames({"devices", "jitter_ms"})
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

}  // namespace
