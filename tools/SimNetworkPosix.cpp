// SPDX-License-Identifier: GPL-3.0-or-later
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/MessageSlotPosix.h"
#include "net/SocketAddressPosix.h"
#include "tools/SimNetwork.h"

namespace tb::sim {

using socketlayer::FromSockaddr;
using socketlayer::MakeAddress;

SimSocket::~SimSocket() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::string SimSocket::Open(Ipv4 address, int port) {
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd_ < 0) {
    return std::string("socket: ") + std::strerror(errno);
  }
  const int on = 1;
  ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  ::setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  // One socket plays a whole fleet, and a sweep of a network brings it a
  // datagram per device at once, which separate devices would share out.
  const int room = 16 << 20;
  if (::setsockopt(fd_, SOL_SOCKET, SO_RCVBUFFORCE, &room, sizeof room) < 0) {
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &room, sizeof room);
  }
  const sockaddr_in sa = MakeAddress(address, port);
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) < 0) {
    return std::string("bind: ") + std::strerror(errno);
  }
  return {};
}

bool SimSocket::Receive(Incoming& incoming) {
  static char buffer[65536];
  socketlayer::ReceiveSlot slot;
  msghdr msg{};
  slot.Prepare(msg, buffer, sizeof buffer);
  const ssize_t n = ::recvmsg(fd_, &msg, 0);
  if (n < 0) {
    return false;
  }
  incoming = Incoming{};
  incoming.data.assign(buffer, static_cast<std::size_t>(n));
  incoming.from = ntohl(slot.peer.sin_addr.s_addr);
  incoming.fromPort = ntohs(slot.peer.sin_port);
  if (const auto arrival = socketlayer::ArrivalInfo(msg)) {
    incoming.to = ntohl(arrival->ipi_addr.s_addr);
    incoming.interfaceIndex = arrival->ipi_ifindex;
  }
  return true;
}

std::string SimSocket::Send(const AnsiString& data, Ipv4 address, int port, int interfaceIndex,
                            Ipv4 source) {
  socketlayer::SendSlot slot;
  msghdr msg{};
  slot.Prepare(msg, data.data(), data.size(), address, port);
  // The interface is named explicitly: a limited broadcast has no route of its own.
  if (interfaceIndex != 0 || source != 0) {
    slot.Via(msg, interfaceIndex, source);
  }
  for (;;) {
    const ssize_t n = ::sendmsg(fd_, &msg, 0);
    if (n >= 0) {
      return {};
    }
    if (errno == EAGAIN || errno == ENOBUFS) {
      // A burst may fill the queue; wait for room rather than lose answers.
      ::usleep(200);
      continue;
    }
    return std::strerror(errno);
  }
}

Ipv4 InterfaceBroadcast(int interfaceIndex) {
  ifaddrs* head = nullptr;
  if (::getifaddrs(&head) < 0) {
    return LimitedBroadcast;
  }
  Ipv4 result = LimitedBroadcast;
  for (const ifaddrs* it = head; it != nullptr; it = it->ifa_next) {
    if (it->ifa_addr != nullptr && it->ifa_addr->sa_family == AF_INET &&
        static_cast<int>(::if_nametoindex(it->ifa_name)) == interfaceIndex) {
      result = DirectedBroadcast(FromSockaddr(it->ifa_addr), FromSockaddr(it->ifa_netmask));
      break;
    }
  }
  ::freeifaddrs(head);
  return result;
}

std::string InterfaceName(int interfaceIndex) {
  char name[IF_NAMESIZE] = {};
  if (interfaceIndex == 0 ||
      ::if_indextoname(static_cast<unsigned>(interfaceIndex), name) == nullptr) {
    return "?";
  }
  return name;
}

}  // namespace tb::sim
