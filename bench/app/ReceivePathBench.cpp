// SPDX-License-Identifier: GPL-3.0-or-later
// Datagrams per second from the lab link into the device list: listener,
// hand-over to the GUI thread, UDPServerUDPRead and AddDevice in the real
// main window during a query, against a bare recvfrom loop on the same link
// fed by the same sender (the most this link and this sender give). A turn
// of the event loop may hand over many datagrams: the figures count
// datagrams and rows, not turns. Every
// datagram is a reply from a new device, so every one adds a row; the list
// is emptied every 5000 rows, as a new query would.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "app/DeviceListView.h"
#include "app/MainWindow.h"
#include "bench/app/BenchSupport.h"
#include "bench/support/LabBench.h"
#include "core/DeviceListModel.h"
#include "net/IdUDPServer.h"
#include "tests/support/LabSupport.h"

namespace {

constexpr int RowsPerQuery = 5000;

void BM_BareRecvfrom(benchmark::State& state) {
  const tb::bench::LabSocket socket(state);
  if (!socket.Ok()) {
    return;
  }
  const tb::bench::ReplyFlood flood;
  if (!flood.Started(state)) {
    return;
  }
  const long kernelBefore = tb::lab::KernelUdpDrops();
  socket.ReceiveEachIteration(state);
  tb::bench::CountDrops(state, kernelBefore, nullptr);
}
BENCHMARK(BM_BareRecvfrom)->UseRealTime()->MinTime(3.0);

// The endpoint alone, the handler only counting: what listener and
// hand-over cost before the program does anything with a datagram.
void BM_EndpointOnly(benchmark::State& state) {
  tb::TIdUDPServer server;
  std::int64_t delivered = 0;
  server.OnUDPRead = [&](tb::TIdUDPServer&, tb::TIdMemoryStream&, tb::TIdSocketHandle&) {
    ++delivered;
  };
  if (!tb::bench::ListenOnLab(state, server)) {
    return;
  }
  const tb::bench::ReplyFlood flood;
  if (!flood.Started(state)) {
    return;
  }
  const long kernelBefore = tb::lab::KernelUdpDrops();
  tb::bench::ProcessEventsEachIteration(state, [&] { return delivered; });
  tb::bench::CountDrops(state, kernelBefore, &server);
}
BENCHMARK(BM_EndpointOnly)->UseRealTime()->MinTime(3.0);

void BM_MainWindowReceive(benchmark::State& state) {
  auto window = tb::bench::MakeQuietWindow({"10.77.0.1"});
  // A query that lasts: the window's timer would end it after 500 ms.
  window->RefreshDevices();
  window->tmrTimeout().SetEnabled(false);
  try {
    window->UDPServer().SetActive(true);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  tb::bench::PaintCounter paints(*window->lstDevices->viewport());
  const tb::bench::ReplyFlood flood;
  if (!flood.Started(state)) {
    return;
  }
  auto* devices = window->Devices();
  const long kernelBefore = tb::lab::KernelUdpDrops();
  std::int64_t rows = 0;
  for ([[maybe_unused]] auto _ : state) {
    const int before = devices->Count();
    tb::bench::ProcessEventsUntil([&] { return devices->Count() != before; });
    rows += devices->Count() - before;
    if (devices->Count() >= RowsPerQuery) {
      devices->Clear();
    }
  }
  state.SetItemsProcessed(rows);
  tb::bench::CountDrops(state, kernelBefore, &window->UDPServer());
  state.counters["list_paints_per_s"] =
      benchmark::Counter(static_cast<double>(paints.Count()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MainWindowReceive)->UseRealTime()->MinTime(3.0);

}  // namespace
