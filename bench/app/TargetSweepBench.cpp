// SPDX-License-Identifier: GPL-3.0-or-later
// A query with a /22 target behind the lab's router (lab.sh routed up, and
// scripts/bench.sh gives the far namespace the fleet's addresses): 500
// devices there, each hearing only what is sent to its own address. How many
// are rows when the 500 ms window ends, and how fast the endpoint sends the
// sweep's 1,023 datagrams against a bare sendto loop to the same addresses.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

#include "app/MainWindow.h"
#include "core/DeviceListModel.h"
#include "core/FanOut.h"
#include "core/TargetStore.h"
#include "net/IdStack.h"
#include "net/IdUDPServer.h"
#include "net/RouteSource.h"
#include "net/SocketAddressPosix.h"
#include "tests/support/LabSupport.h"
#include "ui/MessageBoxes.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int FarDevices = 500;
const char* const SweptNetwork = "10.90.0.0/22";

tb::TargetEntry Swept() { return *tb::ParseTarget(SweptNetwork).entry; }

// Device i stands at 10.90.0.10 + i, as scripts/bench.sh numbers the far
// namespace's addresses.
std::string WriteFarFleet() {
  std::string path = "/tmp/tb-far-fleet.ini";
  std::ofstream out(path);
  const tb::Ipv4 first = *tb::ParseDottedIPv4("10.90.0.10");
  for (int i = 0; i < FarDevices; ++i) {
    const std::string ip = tb::FormatDottedIPv4(first + static_cast<tb::Ipv4>(i));
    char mac[18];
    std::snprintf(mac, sizeof mac, "00:D0:00:00:%02X:%02X", i / 256, i % 256);
    out << "[device]\nhost = far\ncode = 1120\nversion = 2.0.1\nmac = " << mac << "\nip = " << ip
        << "\nnetmask = 255.255.252.0\ngateway = 10.90.0.1\nhostname = far" << i
        << "\nname = Lejano " << i << "\nsource = " << ip << "\nown_address = 1\n\n";
  }
  return path;
}

struct FarFleet {
  FarFleet() : path(WriteFarFleet()), simulator("far", path + ".log", path) {}
  bool Ready(benchmark::State& state) const {
    if (!simulator.Ready()) {
      state.SkipWithError(
          "far simulator did not start (lab.sh routed up, then bench.sh's addresses)");
      return false;
    }
    return true;
  }
  std::string path;
  tb::lab::Simulator simulator;
};

void BM_TargetSweepMainWindow(benchmark::State& state) {
  const FarFleet fleet;
  if (!fleet.Ready(state)) {
    return;
  }
  const QTemporaryDir settings;
  tb::TargetStore::UseFile(settings.path() + QStringLiteral("/Brelvan.ini"));
  tb::TargetStore::Save({Swept()});
  int boxes = 0;
  tb::SetMessageBoxHandler([&](const tb::MessageRecord&) { ++boxes; });
  auto window = std::make_unique<tb::TfrmMain>();
  window->show();
  const auto idle = [&] { return window->FExchangeMode() == tb::ExchangeMode::Idle; };
  tb::lab::RunLoopUntil(idle, 3s);
  tb::lab::RunLoopFor(700ms);
  double fewest = FarDevices;
  for ([[maybe_unused]] auto _ : state) {
    window->RefreshDevices();
    tb::lab::RunLoopUntil(idle, 3s);
    fewest = std::min(fewest, static_cast<double>(window->Devices()->Count()));
    state.PauseTiming();
    tb::lab::RunLoopFor(700ms);
    state.ResumeTiming();
  }
  state.counters["fewest"] = fewest;
  state.counters["ratio"] = fewest / FarDevices;
  if (boxes > 0) {
    state.SkipWithError("the query reported a communication error");
  }
}

// The sweep alone, through the endpoint's binding that routing picks.
void BM_TargetSweepEndpoint(benchmark::State& state) {
  const FarFleet fleet;
  if (!fleet.Ready(state)) {
    return;
  }
  int failures = 0;
  const auto fail = [&](const tb::AnsiString&) { ++failures; };
  tb::TIdUDPServer server;
  server.BroadcastEnabled = true;
  tb::SetUpBindings(server, tb::ListHostAddresses, fail);
  server.OnUDPRead = [](tb::TIdUDPServer&, tb::TIdMemoryStream&, tb::TIdSocketHandle&) {};
  server.SetActive(true);
  const std::function<tb::Ipv4(tb::Ipv4)> route = [](tb::Ipv4 to) { return tb::RouteSource(to); };
  for ([[maybe_unused]] auto _ : state) {
    tb::SendToTargets("HELLO()", server, {Swept()}, route, fail);
    state.PauseTiming();
    tb::lab::RunLoopFor(300ms);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * 1023);
  if (failures > 0) {
    state.SkipWithError("the sweep reported a communication error");
  }
}

// The yardstick: a bare socket on the same address sends the same 1,023
// datagrams with sendto.
void BM_TargetSweepBare(benchmark::State& state) {
  const FarFleet fleet;
  if (!fleet.Ready(state)) {
    return;
  }
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  const sockaddr_in own = tb::socketlayer::MakeAddress(*tb::ParseDottedIPv4("10.87.0.1"), 998);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&own), sizeof own) != 0) {
    state.SkipWithError("cannot bind 10.87.0.1:998 (run inside the lab, routed up)");
    ::close(fd);
    return;
  }
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  const std::vector<tb::Ipv4> destinations = tb::TargetDestinations({Swept()});
  for ([[maybe_unused]] auto _ : state) {
    for (const tb::Ipv4 to : destinations) {
      const sockaddr_in sa = tb::socketlayer::MakeAddress(to, 998);
      ::sendto(fd, "HELLO()", 7, 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
    }
    state.PauseTiming();
    tb::lab::RunLoopFor(300ms);
    char buffer[512];
    while (::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) >= 0) {
    }
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(destinations.size()));
  ::close(fd);
}

// The worst repetition beside the median: every query must find every device.
BENCHMARK(BM_TargetSweepMainWindow)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", [](const std::vector<double>& v) {
      return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
    });
BENCHMARK(BM_TargetSweepEndpoint)->Iterations(20)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TargetSweepBare)->Iterations(20)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
