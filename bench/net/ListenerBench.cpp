// SPDX-License-Identifier: GPL-3.0-or-later
// Datagrams per second through the endpoint's listener and GUI hand-over,
// against a bare recvfrom loop on the same lab link. Run inside the lab:
//   scripts/lab.sh up
//   scripts/lab.sh exec tb-pc build/bench/net/tb_net_bench
// A sender in the device namespace floods 10.77.0.1:998. The bare loop takes
// one datagram per iteration; the endpoint one turn of the event loop, which
// may hand over many: both count datagrams.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdint>
#include <iostream>
#include <thread>

#include "bench/support/LabBench.h"
#include "net/IdUDPServer.h"
#include "tests/support/LabSupport.h"

namespace {

using tb::lab::Peer;

// Floods the PC from the first device host until destroyed.
class Flood {
 public:
  Flood()
      : thread_([this] {
          const Peer dev1("dev1", "10.77.0.2", 998);
          const std::string payload =
              "NTM(1120,2.3.1,00:1A:2B:3C:4D:01,10.77.0.11,255.255.255.0,"
              "10.77.0.1,0,recepcion,Puerta Recepcion)";
          while (!stop_) dev1.Send(payload, "10.77.0.1", 998);
        }) {}
  Flood(const Flood&) = delete;
  Flood& operator=(const Flood&) = delete;
  ~Flood() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void BM_BareRecvfrom(benchmark::State& state) {
  const tb::bench::LabSocket socket(state);
  if (!socket.Ok()) {
    return;
  }
  const Flood flood;
  socket.ReceiveEachIteration(state);
}
BENCHMARK(BM_BareRecvfrom)->UseRealTime()->MinTime(2.0);

void BM_EndpointDelivery(benchmark::State& state) {
  tb::TIdUDPServer server;
  std::int64_t delivered = 0;
  server.OnUDPRead = [&](tb::TIdUDPServer&, tb::TIdMemoryStream& data, tb::TIdSocketHandle&) {
    delivered += data.Size() > 0 ? 1 : 0;
  };
  if (!tb::bench::ListenOnLab(state, server)) {
    return;
  }
  const Flood flood;
  tb::bench::ProcessEventsEachIteration(state, [&] { return delivered; });
}
BENCHMARK(BM_EndpointDelivery)->UseRealTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (const std::string why = tb::lab::SkipReason(); !why.empty()) {
    std::cerr << why << "\n";
    return 77;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
