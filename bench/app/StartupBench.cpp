// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to the main window, and peak memory, against a minimal Qt Widgets
// program built the same way: each iteration starts the program, which
// reports its first paint and closes at once. Time is from fork to that
// paint; memory is the child's peak resident size. The program's start
// includes its first query, so it runs inside the lab.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "tests/support/ChildProgram.h"

namespace {

using namespace std::chrono_literals;

void MeasureStart(benchmark::State& state, const char* path) {
  long peakKb = 0;
  for ([[maybe_unused]] auto _ : state) {
    tb::lab::ChildProgram child(path, {"--close-after", "0"});
    const auto result = child.Wait(20s);
    const std::int64_t startup = tb::lab::ReportedValue(result.output, "startup");
    if (!result.exited || result.status != 0 || startup <= 0 ||
        result.output.find("box ") != std::string::npos) {
      state.SkipWithError(("did not start cleanly: " + result.output).c_str());
      return;
    }
    state.SetIterationTime(static_cast<double>(startup) / 1e9);
    peakKb = std::max(peakKb, result.maxRssKb);
  }
  state.counters["peak_rss_mb"] = static_cast<double>(peakKb) / 1024.0;
}

void BM_StartupMinimalWidgets(benchmark::State& state) { MeasureStart(state, TB_MINIMAL_PATH); }
BENCHMARK(BM_StartupMinimalWidgets)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_StartupMainWindow(benchmark::State& state) { MeasureStart(state, TB_APP_PROBE_PATH); }
BENCHMARK(BM_StartupMainWindow)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
