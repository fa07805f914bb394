// Datagrams per second through the endpoint's listener and GUI hand-over,
// against a bare recvfrom loop on the same lab link. Run inside the lab:
//   scripts/lab.sh up
//   scripts/lab.sh exec tb-pc build/bench/net/tb_net_bench
// A sender in the device namespace floods 10.77.0.1:998. The bare loop takes
// one datagram per iteration; the endpoint one turn of the event loop, which
// may hand over many: both count datagrams.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <iostream>
#include <thread>

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
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(998);
  ::inet_pton(AF_INET, "10.77.0.1", &sa.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0) {
    state.SkipWithError("bind 10.77.0.1:998 failed (run inside the lab)");
    return;
  }
  const Flood flood;
  std::vector<char> buffer(8192);
  for ([[maybe_unused]] auto _ : state) {
    sockaddr_in from{};
    socklen_t len = sizeof from;
    benchmark::DoNotOptimize(
        ::recvfrom(fd, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len));
  }
  state.SetItemsProcessed(state.iterations());
  ::close(fd);
}
BENCHMARK(BM_BareRecvfrom)->UseRealTime()->MinTime(2.0);

void BM_EndpointDelivery(benchmark::State& state) {
  tb::TIdUDPServer server;
  server.Bindings().Add().IP = "10.77.0.1";
  server.Bindings().Items(0).Port = 998;
  std::size_t delivered = 0;
  server.OnUDPRead = [&](tb::TIdUDPServer&, tb::TIdMemoryStream& data, tb::TIdSocketHandle&) {
    delivered += data.Size() > 0 ? 1 : 0;
  };
  try {
    server.SetActive(true);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  const Flood flood;
  for ([[maybe_unused]] auto _ : state) {
    const std::size_t before = delivered;
    while (delivered == before) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(delivered));
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
