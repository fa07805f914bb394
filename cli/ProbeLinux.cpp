#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "Console.h"
#include "DeviceRow.h"
#include "LinuxChecks.h"
#include "Message.h"

namespace tb::cli::linux_checks {

namespace {

using namespace linux_host;
using Clock = std::chrono::steady_clock;

constexpr Address LimitedBroadcast = 0xFFFFFFFFU;
constexpr int ReceiveBufferBytes = 4 << 20;

class ProbeSocket {
 public:
  ProbeSocket() = default;
  ProbeSocket(const ProbeSocket&) = delete;
  ProbeSocket& operator=(const ProbeSocket&) = delete;
  ~ProbeSocket() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }

  // Any address, port 998, broadcast allowed, arrival interface and
  // destination reported. Empty, or why not.
  QString Open() {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0) {
      return QString::fromLocal8Bit(std::strerror(errno));
    }
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    ::setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &ReceiveBufferBytes, sizeof ReceiveBufferBytes);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(CommandPort));
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0) {
      return QString::fromLocal8Bit(std::strerror(errno));
    }
    return {};
  }

  // Out of interface `index`, whatever the routes say.
  void Send(const AnsiString& data, Address to, int index) const {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(to);
    sa.sin_port = htons(static_cast<std::uint16_t>(CommandPort));
    iovec iov{const_cast<char*>(data.data()), data.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr msg{};
    msg.msg_name = &sa;
    msg.msg_namelen = sizeof sa;
    msg.msg_iov = &iov;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&msg);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_ifindex = index;
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    ::sendmsg(fd_, &msg, 0);
  }

  struct Datagram {
    AnsiString data;
    Address to = 0;
    int index = 0;
  };

  // One datagram, waiting until `until` at most.
  bool Receive(Clock::time_point until, Datagram& datagram) const {
    for (;;) {
      static char buffer[65536];
      iovec iov{buffer, sizeof buffer};
      alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
      msghdr msg{};
      msg.msg_iov = &iov;
      msg.msg_iovlen = 1;
      msg.msg_control = control;
      msg.msg_controllen = sizeof control;
      const ssize_t n = ::recvmsg(fd_, &msg, 0);
      if (n >= 0) {
        datagram.data.assign(buffer, static_cast<std::size_t>(n));
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
          if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
            in_pktinfo info{};
            std::memcpy(&info, CMSG_DATA(c), sizeof info);
            datagram.to = ntohl(info.ipi_addr.s_addr);
            datagram.index = info.ipi_ifindex;
          }
        }
        return true;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      if (left <= 0) {
        return false;
      }
      pollfd p{fd_, POLLIN, 0};
      ::poll(&p, 1, static_cast<int>(left));
    }
  }

 private:
  int fd_ = -1;
};

std::optional<Address> ParseAddress(const AnsiString& text) {
  in_addr parsed{};
  if (::inet_pton(AF_INET, text.c_str(), &parsed) != 1) {
    return std::nullopt;
  }
  return ntohl(parsed.s_addr);
}

void Count(const ProbeSocket::Datagram& datagram, const std::vector<InterfaceAddress>& addresses,
           ProbeResult& result) {
  if (GetCommandName(datagram.data) != "NTM") {
    return;  // our own query coming back, or anything else
  }
  InterfaceProbe* probe = nullptr;
  for (InterfaceProbe& p : result.interfaces) {
    if (p.index == datagram.index) {
      probe = &p;
    }
  }
  if (probe == nullptr) {
    return;
  }
  bool directed = false;
  const InterfaceAddress* home = nullptr;
  const DeviceRow row = MakeDeviceRow(datagram.data);
  const std::optional<Address> device = ParseAddress(row.subItems[SubIP]);
  for (const InterfaceAddress& entry : addresses) {
    if (entry.index != datagram.index) {
      continue;
    }
    directed = directed || datagram.to == entry.Broadcast();
    if (home == nullptr || (device && *device != 0 && entry.Holds(*device))) {
      home = &entry;
    }
  }
  (datagram.to == LimitedBroadcast ? probe->limited
                                   : (directed ? probe->directed : probe->unicast))++;
  const QString mac = Text(row.MAC());
  if (probe->macs.contains(mac)) {
    return;
  }
  probe->macs.insert(mac);
  if (home != nullptr && (!device || *device == 0 || !home->Holds(*device))) {
    result.foreign.push_back(
        {mac, Text(row.caption), Text(row.subItems[SubIP]), device && *device != 0, home});
  }
}

}  // namespace

ProbeResult Probe(const std::vector<InterfaceAddress>& addresses, int windowMs) {
  ProbeResult result;
  for (const InterfaceAddress& entry : addresses) {
    if (entry.loopback) {
      continue;
    }
    const bool known = std::any_of(result.interfaces.begin(), result.interfaces.end(),
                                   [&](const InterfaceProbe& p) { return p.index == entry.index; });
    if (!known) {
      InterfaceProbe probe;
      probe.name = entry.name;
      probe.index = entry.index;
      result.interfaces.push_back(probe);
    }
  }
  ProbeSocket socket;
  result.failure = socket.Open();
  if (!result.failure.isEmpty()) {
    return result;
  }
  ProbeSocket::Datagram datagram;
  for (InterfaceProbe& probe : result.interfaces) {
    bool canBroadcast = false;
    for (const InterfaceAddress& entry : addresses) {
      canBroadcast = canBroadcast || (entry.index == probe.index && entry.up && entry.broadcast);
    }
    if (!canBroadcast) {
      continue;
    }
    probe.queried = true;
    const std::optional<long long> before = ReversePathDrops();
    for (const InterfaceAddress& entry : addresses) {
      if (entry.index == probe.index) {
        socket.Send(QueryCommand, entry.Broadcast(), probe.index);
      }
    }
    socket.Send(QueryCommand, LimitedBroadcast, probe.index);
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(windowMs);
    while (socket.Receive(until, datagram)) {
      Count(datagram, addresses, result);
    }
    const std::optional<long long> after = ReversePathDrops();
    if (before && after) {
      probe.reversePathDrops = *after - *before;
    }
  }
  return result;
}

}  // namespace tb::cli::linux_checks
