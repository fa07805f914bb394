// SPDX-License-Identifier: GPL-3.0-or-later
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "net/MessageSlotPosix.h"
#include "net/SocketAddressPosix.h"
#include "net/SocketLayer.h"
#include "net/TunnelKindPosix.h"

namespace tb::socketlayer {

namespace {

int Fd(Handle socket) { return static_cast<int>(socket); }

int Result(int rc) { return rc < 0 ? errno : 0; }

// getaddrinfo reports failures in its own numbering; they travel as negative
// codes so they never collide with errno values.
constexpr int ResolverErrorBase = -100000;

Datagram Describe(msghdr& msg, std::size_t size, std::int64_t readAt) {
  Datagram datagram;
  datagram.size = size;
  datagram.truncated = (msg.msg_flags & MSG_TRUNC) != 0;
  const auto* source = static_cast<const sockaddr_in*>(msg.msg_name);
  datagram.sourceAddress = ntohl(source->sin_addr.s_addr);
  datagram.sourcePort = ntohs(source->sin_port);
  if (const auto arrival = ArrivalInfo(msg)) {
    datagram.interfaceIndex = arrival->ipi_ifindex;
    datagram.destinationAddress = ntohl(arrival->ipi_addr.s_addr);
  }
  datagram.receivedNs = ReceiveTime(msg).value_or(readAt);
  return datagram;
}

bool NothingWaiting(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// A signal that arrives during the call is no failure of it: calls again.
template <typename Call>
auto Uninterrupted(Call call) {
  decltype(call()) n = 0;
  do {
    n = call();
  } while (n < 0 && errno == EINTR);
  return n;
}

// What sendto or sendmsg returned, as the layer reports it: the error, and
// the bytes sent (none on an error).
int Sent(ssize_t n, std::size_t& sent) {
  if (n < 0) {
    sent = 0;
    return errno;
  }
  sent = static_cast<std::size_t>(n);
  return 0;
}

// The errno values that name a kind; several may name the same one.
constexpr NativeErrorKind ErrnoKinds[] = {
    {EINTR, SocketErrorKind::Interrupted},
    {EBADF, SocketErrorKind::BadFile},
    {EACCES, SocketErrorKind::AccessDenied},
    {EPERM, SocketErrorKind::AccessDenied},
    {EFAULT, SocketErrorKind::BadAddress},
    {EINVAL, SocketErrorKind::InvalidArgument},
    {EMFILE, SocketErrorKind::TooManyOpenFiles},
    {ENFILE, SocketErrorKind::TooManyOpenFiles},
    {EWOULDBLOCK, SocketErrorKind::WouldBlock},
    {EINPROGRESS, SocketErrorKind::InProgress},
    {EALREADY, SocketErrorKind::AlreadyInProgress},
    {ENOTSOCK, SocketErrorKind::NotSocket},
    {EDESTADDRREQ, SocketErrorKind::DestinationRequired},
    {EMSGSIZE, SocketErrorKind::MessageTooLong},
    {EPROTOTYPE, SocketErrorKind::WrongProtocolType},
    {ENOPROTOOPT, SocketErrorKind::BadProtocolOption},
    {EPROTONOSUPPORT, SocketErrorKind::ProtocolNotSupported},
    {ESOCKTNOSUPPORT, SocketErrorKind::SocketTypeNotSupported},
    {EOPNOTSUPP, SocketErrorKind::OperationNotSupported},
    {EPFNOSUPPORT, SocketErrorKind::ProtocolFamilyNotSupported},
    {EAFNOSUPPORT, SocketErrorKind::AddressFamilyNotSupported},
    {EADDRINUSE, SocketErrorKind::AddressInUse},
    {EADDRNOTAVAIL, SocketErrorKind::AddressNotAvailable},
    {ENETDOWN, SocketErrorKind::NetworkDown},
    {ENETUNREACH, SocketErrorKind::NetworkUnreachable},
    {ENETRESET, SocketErrorKind::NetworkReset},
    {ECONNABORTED, SocketErrorKind::ConnectionAborted},
    {ECONNRESET, SocketErrorKind::ConnectionReset},
    {ENOBUFS, SocketErrorKind::NoBufferSpace},
    {EISCONN, SocketErrorKind::AlreadyConnected},
    {ENOTCONN, SocketErrorKind::NotConnected},
    {ESHUTDOWN, SocketErrorKind::ShutDown},
    {ETOOMANYREFS, SocketErrorKind::TooManyReferences},
    {ETIMEDOUT, SocketErrorKind::TimedOut},
    {ECONNREFUSED, SocketErrorKind::ConnectionRefused},
    {ELOOP, SocketErrorKind::SymbolicLinkLoop},
    {ENAMETOOLONG, SocketErrorKind::NameTooLong},
    {EHOSTDOWN, SocketErrorKind::HostDown},
    {EHOSTUNREACH, SocketErrorKind::HostUnreachable},
    {ENOTEMPTY, SocketErrorKind::DirectoryNotEmpty}};

}  // namespace

bool StartUp() { return true; }
void CleanUp() {}

Handle OpenDatagram(int& error) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = errno;
    return InvalidHandle;
  }
  error = 0;
  return static_cast<Handle>(fd);
}

void Close(Handle socket) {
  if (socket == InvalidHandle) {
    return;
  }
  ::shutdown(Fd(socket), SHUT_WR);
  ::close(Fd(socket));
}

int Bind(Handle socket, Ipv4 address, int port) {
  const sockaddr_in sa = MakeAddress(address, port);
  return Result(::bind(Fd(socket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa));
}

int LocalAddress(Handle socket, Ipv4& address, int& port) {
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (::getsockname(Fd(socket), reinterpret_cast<sockaddr*>(&sa), &len) < 0) {
    return errno;
  }
  address = ntohl(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return 0;
}

int SetBroadcast(Handle socket, bool enabled) {
  const int value = enabled ? -1 : 0;
  return Result(::setsockopt(Fd(socket), SOL_SOCKET, SO_BROADCAST, &value, sizeof value));
}

int EnableArrivalInfo(Handle socket) {
  const int on = 1;
  return Result(::setsockopt(Fd(socket), IPPROTO_IP, IP_PKTINFO, &on, sizeof on));
}

int EnableReceiveTimes(Handle socket) {
  const int on = 1;
  return Result(::setsockopt(Fd(socket), SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on));
}

// CLOCK_REALTIME, the clock SO_TIMESTAMPNS stamps with.
std::int64_t WallClockNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

int SendTo(Handle socket, const char* data, std::size_t size, Ipv4 address, int port,
           std::size_t& sent) {
  const sockaddr_in sa = MakeAddress(address, port);
  const ssize_t n = Uninterrupted([&] {
    return ::sendto(Fd(socket), data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&sa),
                    sizeof sa);
  });
  return Sent(n, sent);
}

int SendOutOf(Handle socket, const char* data, std::size_t size, Ipv4 address, int port,
              int interfaceIndex, std::size_t& sent) {
  SendSlot slot;
  msghdr msg{};
  slot.Prepare(msg, data, size, address, port);
  slot.Via(msg, interfaceIndex, 0);
  const ssize_t n = Uninterrupted([&] { return ::sendmsg(Fd(socket), &msg, MSG_NOSIGNAL); });
  return Sent(n, sent);
}

int Receive(Handle socket, char* buffer, std::size_t capacity, Datagram& datagram) {
  ReceiveSlot slot;
  msghdr msg{};
  slot.Prepare(msg, buffer, capacity);
  // MSG_DONTWAIT: another reader of the same socket may have taken the
  // datagram that made it readable; never block the listener on that.
  const ssize_t n = Uninterrupted([&] { return ::recvmsg(Fd(socket), &msg, MSG_DONTWAIT); });
  if (n < 0) {
    return errno;
  }
  datagram = Describe(msg, static_cast<std::size_t>(n), WallClockNs());
  return 0;
}

// One system call for the whole batch: at full speed the calls, not the
// copying, are what a listener spends its time on.
int ReceiveWaiting(Handle socket, char* buffers, std::size_t capacity, std::size_t count,
                   std::vector<Datagram>& datagrams) {
  datagrams.clear();
  thread_local std::vector<ReceiveSlot> slots;
  thread_local std::vector<mmsghdr> headers;
  if (slots.size() < count) {
    slots.resize(count);
    headers.resize(count);
  }
  for (std::size_t i = 0; i < count; ++i) {
    slots[i].Prepare(headers[i].msg_hdr, buffers + i * capacity, capacity);
    headers[i].msg_len = 0;
  }
  const int n = Uninterrupted([&] {
    return ::recvmmsg(Fd(socket), headers.data(), static_cast<unsigned>(count), MSG_DONTWAIT,
                      nullptr);
  });
  if (n < 0) {
    return NothingWaiting(errno) ? 0 : errno;
  }
  const std::int64_t readAt = WallClockNs();
  for (int i = 0; i < n; ++i) {
    auto& header = headers[static_cast<std::size_t>(i)];
    datagrams.push_back(Describe(header.msg_hdr, header.msg_len, readAt));
  }
  return 0;
}

int RaiseReceiveBuffer(Handle socket, int wanted, int& granted) {
  granted = 0;
  // SO_RCVBUFFORCE needs CAP_NET_ADMIN; without it SO_RCVBUF is quietly cut
  // to net.core.rmem_max.
  if (::setsockopt(Fd(socket), SOL_SOCKET, SO_RCVBUFFORCE, &wanted, sizeof wanted) < 0 &&
      ::setsockopt(Fd(socket), SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted) < 0) {
    return errno;
  }
  socklen_t length = sizeof granted;
  return Result(::getsockopt(Fd(socket), SOL_SOCKET, SO_RCVBUF, &granted, &length));
}

Waker::Waker() {
  const int fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (fd >= 0) {
    handle_ = static_cast<Handle>(fd);
  }
}

Waker::~Waker() {
  if (handle_ != InvalidHandle) {
    ::close(Fd(handle_));
  }
}

void Waker::Wake() {
  if (handle_ != InvalidHandle) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(Fd(handle_), &one, sizeof one);
  }
}

void Waker::Drain() {
  std::uint64_t value = 0;
  [[maybe_unused]] const ssize_t n = ::read(Fd(handle_), &value, sizeof value);
}

// poll rather than select: descriptors above FD_SETSIZE would corrupt an fd_set.
int Wait(const std::vector<Handle>& sockets, const Waker* waker, int timeoutMs,
         std::vector<Handle>& readable, bool& woken) {
  readable.clear();
  woken = false;
  std::vector<pollfd> fds;
  fds.reserve(sockets.size() + 1);
  for (const Handle s : sockets) {
    fds.push_back(pollfd{Fd(s), POLLIN, 0});
  }
  const bool hasWaker = waker != nullptr && waker->Valid();
  if (hasWaker) {
    fds.push_back(pollfd{Fd(waker->handle_), POLLIN, 0});
  }
  const int rc = ::poll(fds.data(), fds.size(), timeoutMs);
  if (rc < 0) {
    return errno == EINTR ? 0 : errno;
  }
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    if ((fds[i].revents & (POLLIN | POLLERR)) != 0) {
      readable.push_back(sockets[i]);
    }
  }
  if (hasWaker && fds.back().revents != 0) {
    woken = true;
    const_cast<Waker*>(waker)->Drain();
  }
  return 0;
}

// A tenth of a millisecond: a few dozen small datagrams at full speed, far
// below what even the smallest receive buffer holds.
void RestBetweenBatches() {
  const timespec rest{0, 100'000};
  ::nanosleep(&rest, nullptr);
}

int HostName(AnsiString& name) {
  char buffer[256] = {};
  if (::gethostname(buffer, sizeof buffer - 1) < 0) {
    return errno;
  }
  name = buffer;
  return 0;
}

int ResolveIPv4(const AnsiString& name, Ipv4& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* result = nullptr;
  const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &result);
  if (rc != 0) {
    return rc == EAI_SYSTEM ? errno : ResolverErrorBase + rc;
  }
  int error = ResolverErrorBase + EAI_NONAME;
  for (const addrinfo* ai = result; ai != nullptr; ai = ai->ai_next) {
    if (ai->ai_family == AF_INET) {
      address = FromSockaddr(ai->ai_addr);
      error = 0;
      break;
    }
  }
  ::freeaddrinfo(result);
  return error;
}

int ListInterfaces(std::vector<InterfaceAddress>& list) {
  list.clear();
  ifaddrs* head = nullptr;
  if (::getifaddrs(&head) < 0) {
    return errno;
  }
  for (const ifaddrs* it = head; it != nullptr; it = it->ifa_next) {
    if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) {
      continue;
    }
    InterfaceAddress entry;
    entry.name = it->ifa_name != nullptr ? it->ifa_name : "";
    entry.index = static_cast<int>(::if_nametoindex(entry.name.c_str()));
    entry.address = FromSockaddr(it->ifa_addr);
    entry.netmask = FromSockaddr(it->ifa_netmask);
    entry.up = (it->ifa_flags & IFF_UP) != 0;
    entry.broadcast = (it->ifa_flags & IFF_BROADCAST) != 0;
    entry.loopback = (it->ifa_flags & IFF_LOOPBACK) != 0;
    entry.running = (it->ifa_flags & IFF_RUNNING) != 0;
    entry.pointToPoint = (it->ifa_flags & IFF_POINTOPOINT) != 0;
    if (entry.broadcast) {
      entry.reportedBroadcast = FromSockaddr(it->ifa_broadaddr);
    }
    if (!entry.loopback) {
      entry.tunnel = TunnelKind(entry.name, entry.pointToPoint);
    }
    list.push_back(entry);
  }
  ::freeifaddrs(head);
  return 0;
}

int HostAddresses(std::vector<Ipv4>& addresses) {
  addresses.clear();
  std::vector<InterfaceAddress> interfaces;
  if (const int error = ListInterfaces(interfaces); error != 0) {
    return error;
  }
  for (const auto& entry : interfaces) {
    if (entry.up && !entry.loopback) {
      addresses.push_back(entry.address);
    }
  }
  return 0;
}

int InvalidArgumentError() { return EINVAL; }

bool BoundSocketsHearBroadcasts() { return false; }

SocketErrorKind KindOf(int error) {
  using K = SocketErrorKind;
  if (error <= ResolverErrorBase + 0 && error > ResolverErrorBase - 1000) {
    const int rc = error - ResolverErrorBase;
    return (rc == EAI_NONAME || rc == EAI_NODATA || rc == EAI_FAIL || rc == EAI_ADDRFAMILY)
               ? K::HostNotFound
               : K::Unknown;
  }
  return KindIn(ErrnoKinds, error);
}

}  // namespace tb::socketlayer
