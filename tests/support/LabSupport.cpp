// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/LabSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "net/IdStack.h"
#include "net/MessageSlotPosix.h"

namespace tb::lab {

std::string Namespace(const std::string& role) {
  const char* prefix = std::getenv("TB_LAB_PREFIX");
  return std::string(prefix != nullptr && *prefix != 0 ? prefix : "tb") + "-" + role;
}

std::string SkipReason() {
  if (::geteuid() != 0) {
    return "lab tests need root (network namespaces); skipped";
  }
  try {
    const auto addresses = ListHostAddresses();
    if (addresses != std::vector<AnsiString>{"10.77.0.1", "10.78.0.1"}) {
      return "not inside the lab's PC namespace (run through scripts/lab.sh exec); skipped";
    }
  } catch (...) {
    return "cannot list interfaces; skipped";
  }
  return {};
}

Peer::Peer(const std::string& role, const std::string& address, int port) {
  // A thread may switch namespaces on its own; the socket stays in the namespace
  // it was made in, and is then usable from any thread.
  std::thread maker([&] {
    const int ns = ::open(("/run/netns/" + Namespace(role)).c_str(), O_RDONLY | O_CLOEXEC);
    if (ns < 0 || ::setns(ns, CLONE_NEWNET) < 0) {
      if (ns >= 0) ::close(ns);
      return;
    }
    ::close(ns);
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    ::setsockopt(fd, SOL_SOCKET, SO_BINDTODEVICE, "eth0", 5);
    const int buffer = 4 << 20;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) < 0) {
      ::close(fd);
      return;
    }
    fd_ = fd;
  });
  maker.join();
}

Peer::~Peer() {
  if (fd_ >= 0) ::close(fd_);
}

void Peer::Send(const std::string& data, const std::string& address, int port) const {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(static_cast<std::uint16_t>(port));
  ::inet_pton(AF_INET, address.c_str(), &sa.sin_addr);
  while (::sendto(fd_, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&sa), sizeof sa) <
             0 &&
         (errno == EAGAIN || errno == ENOBUFS)) {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
}

std::optional<Received> Peer::Receive(std::chrono::milliseconds timeout) const {
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) {
    return std::nullopt;
  }
  static char buffer[65536];
  socketlayer::ReceiveSlot slot;
  msghdr msg{};
  slot.Prepare(msg, buffer, sizeof buffer);
  const ssize_t n = ::recvmsg(fd_, &msg, 0);
  if (n < 0) return std::nullopt;
  Received r;
  r.data.assign(buffer, static_cast<std::size_t>(n));
  char text[INET_ADDRSTRLEN] = {};
  r.from = ::inet_ntop(AF_INET, &slot.peer.sin_addr, text, sizeof text);
  r.fromPort = ntohs(slot.peer.sin_port);
  if (const auto arrival = socketlayer::ArrivalInfo(msg)) {
    r.to = ::inet_ntop(AF_INET, &arrival->ipi_addr, text, sizeof text);
  }
  return r;
}

Simulator::Simulator(const std::string& role, const std::string& log, const std::string& fleet)
    : log_(log) {
  std::remove(log.c_str());  // an old log would read as ready at once
  const std::string ns = Namespace(role);
  pid_ = ::fork();
  if (pid_ == 0) {
    // Ends with the test even when the test is killed or aborts, instead of
    // holding the port and failing the tests that come after it.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    ::execl("/usr/sbin/ip", "ip", "netns", "exec", ns.c_str(), TB_DEVSIM_PATH, "--fleet",
            fleet.c_str(), "--host", role.c_str(), "--log", log.c_str(), nullptr);
    ::_exit(127);
  }
  PumpUntil([&] { return Ready(); }, std::chrono::milliseconds(5000));
}

Simulator::~Simulator() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool Simulator::Ready() const { return Log().rfind("READY", 0) == 0; }

std::string Simulator::Log() const { return ReadFile(log_); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

long KernelUdpDrops() {
  std::ifstream snmp("/proc/net/snmp");
  std::string names;
  std::string values;
  std::string line;
  while (std::getline(snmp, line)) {
    if (line.rfind("Udp: ", 0) == 0) {
      (names.empty() ? names : values) = line;
    }
  }
  std::istringstream n(names);
  std::istringstream v(values);
  std::string name;
  std::string value;
  while (n >> name && v >> value) {
    if (name == "InErrors") {
      return std::stol(value);
    }
  }
  return 0;
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

bool RunLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  if (done()) {
    return true;
  }
  QEventLoop loop;
  QTimer check;
  check.setTimerType(Qt::PreciseTimer);
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) {
      loop.quit();
    }
  });
  QTimer limit;
  limit.setSingleShot(true);
  limit.setTimerType(Qt::PreciseTimer);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  check.start(1);
  limit.start(timeout);
  loop.exec();
  return done();
}

void RunLoopFor(std::chrono::milliseconds duration) {
  RunLoopUntil([] { return false; }, duration);
}

}  // namespace tb::lab
