// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of AddDevice as the list grows: n replies from n devices into an
// empty list. In the real main window, shown, the event loop running after
// every add as it does between two datagrams; and in the model alone. The
// fitted complexity over n is reported with each.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "app/MainWindow.h"
#include "bench/app/BenchSupport.h"
#include "core/DeviceListModel.h"

namespace {

void Sizes(benchmark::internal::Benchmark* b) {
  for (const int n : {100, 1000, 5000, 20000}) {
    b->Arg(n);
  }
  b->ArgName("devices")->Unit(benchmark::kMillisecond)->Complexity();
}

void BM_AddDeviceShownList(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto replies = tb::bench::MakeReplies(n);
  auto window = tb::bench::MakeQuietWindow();
  for ([[maybe_unused]] auto _ : state) {
    state.PauseTiming();
    window->Devices()->Clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
    for (const auto& reply : replies) {
      window->AddDevice(reply);
      QCoreApplication::processEvents();
    }
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_AddDeviceShownList)->Apply(Sizes);

void BM_AddRowModelOnly(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<tb::DeviceRow> rows;
  rows.reserve(static_cast<std::size_t>(n));
  for (const auto& reply : tb::bench::MakeReplies(n)) {
    rows.push_back(tb::MakeDeviceRow(reply));
  }
  tb::DeviceListModel model;
  for ([[maybe_unused]] auto _ : state) {
    state.PauseTiming();
    model.Clear();
    auto copy = rows;
    state.ResumeTiming();
    for (auto& row : copy) {
      model.AddRow(std::move(row));
    }
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_AddRowModelOnly)->Apply(Sizes);

}  // namespace
