// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of reading a realistic 9-field discovery reply.
#include <benchmark/benchmark.h>

#include <string>

#include "protocol/DeviceRow.h"
#include "protocol/Message.h"

namespace {

constexpr char ReplyText[] =
    "NTM(1113,2.4.17,00:1A:2B:3C:4D:5E,192.168.10.42,255.255.255.0,192.168.10.1,0,"
    "plant-gw-07,Boiler room A)";

void BM_GetFieldAllNine(benchmark::State& state) {
  const std::string reply = ReplyText;
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(tb::GetField(reply, 1, '('));
    for (int k = 1; k <= 8; ++k) {
      benchmark::DoNotOptimize(tb::GetField(reply, k, ','));
    }
  }
}
BENCHMARK(BM_GetFieldAllNine);

void BM_HasFieldsEightAndNine(benchmark::State& state) {
  const std::string reply = ReplyText;
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(tb::HasFields(reply, 8));
    benchmark::DoNotOptimize(tb::HasFields(reply, 9));
  }
}
BENCHMARK(BM_HasFieldsEightAndNine);

void BM_MakeDeviceRow(benchmark::State& state) {
  const std::string reply = ReplyText;
  for ([[maybe_unused]] auto _ : state) {
    benchmark::DoNotOptimize(tb::MakeDeviceRow(reply));
  }
}
BENCHMARK(BM_MakeDeviceRow);

}  // namespace

BENCHMARK_MAIN();
