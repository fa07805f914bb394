// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/support/LabBench.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <exception>
#include <vector>

#include "net/IdUDPServer.h"
#include "net/Ipv4Address.h"
#include "net/SocketAddressPosix.h"

namespace tb::bench {

namespace {

// The PC's address on the lab's first subnet, and the device port, which the
// program binds there.
constexpr const char* LabPc = "10.77.0.1";
constexpr int DevicePort = 998;

}  // namespace

LabSocket::LabSocket(benchmark::State& state, bool broadcast)
    : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
  if (broadcast) {
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  }
  const sockaddr_in sa = socketlayer::MakeAddress(*ParseDottedIPv4(LabPc), DevicePort);
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) < 0) {
    state.SkipWithError("bind 10.77.0.1:998 failed (run inside the lab)");
    ::close(fd_);
    fd_ = -1;
  }
}

LabSocket::~LabSocket() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

void LabSocket::ReceiveEachIteration(benchmark::State& state) const {
  std::vector<char> buffer(8192);
  for ([[maybe_unused]] auto _ : state) {
    sockaddr_in from{};
    socklen_t len = sizeof from;
    benchmark::DoNotOptimize(
        ::recvfrom(fd_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&from), &len));
  }
  state.SetItemsProcessed(state.iterations());
}

bool ListenOnLab(benchmark::State& state, TIdUDPServer& server) {
  server.Bindings().Add().IP = LabPc;
  server.Bindings().Items(0).Port = DevicePort;
  try {
    server.SetActive(true);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return false;
  }
  return true;
}

void ProcessEventsUntil(const std::function<bool()>& done) {
  while (!done()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

void ProcessEventsEachIteration(benchmark::State& state,
                                const std::function<std::int64_t()>& count) {
  const std::int64_t start = count();
  for ([[maybe_unused]] auto _ : state) {
    const std::int64_t before = count();
    ProcessEventsUntil([&] { return count() != before; });
  }
  state.SetItemsProcessed(count() - start);
}

}  // namespace tb::bench
