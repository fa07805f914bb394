// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <climits>
#include <cstring>

#include "net/InterfaceListWindows.h"
#include "net/SocketLayer.h"
#include "net/WinsockHeaders.h"

namespace tb::socketlayer {

namespace {

SOCKET Sock(Handle socket) { return static_cast<SOCKET>(socket); }

sockaddr_in MakeAddress(Ipv4 address, int port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(address);
  sa.sin_port = htons(static_cast<u_short>(port));
  return sa;
}

int Result(int rc) { return rc == SOCKET_ERROR ? ::WSAGetLastError() : 0; }

int ClampToInt(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

// gethostname's buffer; a longer name is refused rather than cut.
constexpr int HostNameBufferSize = 250;
// How far the resolver's address list is followed.
constexpr int MaxHostAddresses = 251;

int LookUp(const AnsiString& name, const hostent*& host) {
  host = ::gethostbyname(name.c_str());
  if (host == nullptr) {
    const int error = ::WSAGetLastError();
    return error != 0 ? error : WSAHOST_NOT_FOUND;
  }
  if (host->h_addrtype != AF_INET || host->h_length != 4) {
    return WSAHOST_NOT_FOUND;
  }
  return 0;
}

Ipv4 AddressAt(const hostent& host, int i) {
  in_addr in{};
  std::memcpy(&in, host.h_addr_list[i], sizeof in);
  return ntohl(in.s_addr);
}

// The Winsock codes that name a kind.
constexpr NativeErrorKind WinsockKinds[] = {
    {WSAEINTR, SocketErrorKind::Interrupted},
    {WSAEBADF, SocketErrorKind::BadFile},
    {WSAEACCES, SocketErrorKind::AccessDenied},
    {WSAEFAULT, SocketErrorKind::BadAddress},
    {WSAEINVAL, SocketErrorKind::InvalidArgument},
    {WSAEMFILE, SocketErrorKind::TooManyOpenFiles},
    {WSAEWOULDBLOCK, SocketErrorKind::WouldBlock},
    {WSAEINPROGRESS, SocketErrorKind::InProgress},
    {WSAEALREADY, SocketErrorKind::AlreadyInProgress},
    {WSAENOTSOCK, SocketErrorKind::NotSocket},
    {WSAEDESTADDRREQ, SocketErrorKind::DestinationRequired},
    {WSAEMSGSIZE, SocketErrorKind::MessageTooLong},
    {WSAEPROTOTYPE, SocketErrorKind::WrongProtocolType},
    {WSAENOPROTOOPT, SocketErrorKind::BadProtocolOption},
    {WSAEPROTONOSUPPORT, SocketErrorKind::ProtocolNotSupported},
    {WSAESOCKTNOSUPPORT, SocketErrorKind::SocketTypeNotSupported},
    {WSAEOPNOTSUPP, SocketErrorKind::OperationNotSupported},
    {WSAEPFNOSUPPORT, SocketErrorKind::ProtocolFamilyNotSupported},
    {WSAEAFNOSUPPORT, SocketErrorKind::AddressFamilyNotSupported},
    {WSAEADDRINUSE, SocketErrorKind::AddressInUse},
    {WSAEADDRNOTAVAIL, SocketErrorKind::AddressNotAvailable},
    {WSAENETDOWN, SocketErrorKind::NetworkDown},
    {WSAENETUNREACH, SocketErrorKind::NetworkUnreachable},
    {WSAENETRESET, SocketErrorKind::NetworkReset},
    {WSAECONNABORTED, SocketErrorKind::ConnectionAborted},
    {WSAECONNRESET, SocketErrorKind::ConnectionReset},
    {WSAENOBUFS, SocketErrorKind::NoBufferSpace},
    {WSAEISCONN, SocketErrorKind::AlreadyConnected},
    {WSAENOTCONN, SocketErrorKind::NotConnected},
    {WSAESHUTDOWN, SocketErrorKind::ShutDown},
    {WSAETOOMANYREFS, SocketErrorKind::TooManyReferences},
    {WSAETIMEDOUT, SocketErrorKind::TimedOut},
    {WSAECONNREFUSED, SocketErrorKind::ConnectionRefused},
    {WSAELOOP, SocketErrorKind::SymbolicLinkLoop},
    {WSAENAMETOOLONG, SocketErrorKind::NameTooLong},
    {WSAEHOSTDOWN, SocketErrorKind::HostDown},
    {WSAEHOSTUNREACH, SocketErrorKind::HostUnreachable},
    {WSAENOTEMPTY, SocketErrorKind::DirectoryNotEmpty},
    {WSAHOST_NOT_FOUND, SocketErrorKind::HostNotFound}};

}  // namespace

bool StartUp() {
  WSADATA data{};
  return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void CleanUp() { ::WSACleanup(); }

Handle OpenDatagram(int& error) {
  const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (s == INVALID_SOCKET) {
    error = ::WSAGetLastError();
    return InvalidHandle;
  }
  // Like close-on-exec elsewhere: a browser started by the shell must not
  // keep port 998 open after the program ends.
  // NOLINTNEXTLINE(performance-no-int-to-ptr): a SOCKET is a kernel handle
  ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  error = 0;
  return static_cast<Handle>(s);
}

void Close(Handle socket) {
  if (socket == InvalidHandle) {
    return;
  }
  ::shutdown(Sock(socket), SD_SEND);
  ::closesocket(Sock(socket));
}

int Bind(Handle socket, Ipv4 address, int port) {
  const sockaddr_in sa = MakeAddress(address, port);
  return Result(::bind(Sock(socket), reinterpret_cast<const sockaddr*>(&sa), sizeof sa));
}

int LocalAddress(Handle socket, Ipv4& address, int& port) {
  sockaddr_in sa{};
  int len = sizeof sa;
  if (::getsockname(Sock(socket), reinterpret_cast<sockaddr*>(&sa), &len) == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  address = ntohl(sa.sin_addr.s_addr);
  port = ntohs(sa.sin_port);
  return 0;
}

int SetBroadcast(Handle socket, bool enabled) {
  const int value = enabled ? -1 : 0;
  return Result(::setsockopt(Sock(socket), SOL_SOCKET, SO_BROADCAST,
                             reinterpret_cast<const char*>(&value), sizeof value));
}

// recvfrom cannot tell the arrival interface, and nothing here needs it:
// bound sockets hear their network's broadcasts themselves.
int EnableArrivalInfo(Handle /*socket*/) { return WSAEOPNOTSUPP; }

// Winsock stamps UDP datagrams only through SIO_TIMESTAMPING, which older
// Windows versions and wine lack; datagrams carry the time the listener read
// them, which it does as soon as a socket is readable.
int EnableReceiveTimes(Handle /*socket*/) { return 0; }

std::int64_t WallClockNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int SendTo(Handle socket, const char* data, std::size_t size, Ipv4 address, int port,
           std::size_t& sent) {
  sent = 0;
  if (size > INT_MAX) {
    return WSAEMSGSIZE;
  }
  const sockaddr_in sa = MakeAddress(address, port);
  const int n = ::sendto(Sock(socket), data, static_cast<int>(size), 0,
                         reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  if (n == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  sent = static_cast<std::size_t>(n);
  return 0;
}

int Receive(Handle socket, char* buffer, std::size_t capacity, Datagram& datagram) {
  sockaddr_in source{};
  int sourceLength = sizeof source;
  const int n = ::recvfrom(Sock(socket), buffer, ClampToInt(capacity), 0,
                           reinterpret_cast<sockaddr*>(&source), &sourceLength);
  datagram = Datagram{};
  if (n == SOCKET_ERROR) {
    const int error = ::WSAGetLastError();
    // Winsock reports an over-long datagram as an error after filling the
    // buffer with its head; the caller drops it whole.
    if (error != WSAEMSGSIZE) {
      return error;
    }
    datagram.truncated = true;
    datagram.size = capacity;
  } else {
    datagram.size = static_cast<std::size_t>(n);
  }
  datagram.sourceAddress = ntohl(source.sin_addr.s_addr);
  datagram.sourcePort = ntohs(source.sin_port);
  datagram.receivedNs = WallClockNs();
  return 0;
}

namespace {

// Whether a datagram waits on `socket`, without waiting for one: the
// sockets stay blocking, as sends on them must.
int Waiting(Handle socket, bool& waiting) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(Sock(socket), &set);
  timeval none{};
  const int rc = ::select(0, &set, nullptr, nullptr, &none);
  if (rc == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  waiting = rc > 0;
  return 0;
}

// Below this a larger buffer is not worth asking for: the default is 64 KiB.
constexpr int SmallestReceiveBuffer = 64 * 1024;

}  // namespace

int ReceiveWaiting(Handle socket, char* buffers, std::size_t capacity, std::size_t count,
                   std::vector<Datagram>& datagrams) {
  datagrams.clear();
  for (std::size_t i = 0; i < count; ++i) {
    bool waiting = false;
    if (const int error = Waiting(socket, waiting); error != 0 || !waiting) {
      return datagrams.empty() ? error : 0;
    }
    Datagram datagram;
    if (const int error = Receive(socket, buffers + i * capacity, capacity, datagram); error != 0) {
      // What was taken before still counts; the error shows on the next call.
      return datagrams.empty() ? error : 0;
    }
    datagrams.push_back(datagram);
  }
  return 0;
}

// Winsock has no system-wide ceiling to pass; it refuses what it cannot
// give, so the request halves until it is granted.
int RaiseReceiveBuffer(Handle socket, int wanted, int& granted) {
  granted = 0;
  int error = 0;
  for (int size = wanted; size >= SmallestReceiveBuffer; size /= 2) {
    error = Result(::setsockopt(Sock(socket), SOL_SOCKET, SO_RCVBUF,
                                reinterpret_cast<const char*>(&size), sizeof size));
    if (error == 0) {
      break;
    }
  }
  int length = sizeof granted;
  if (::getsockopt(Sock(socket), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&granted),
                   &length) == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  return error;
}

// Windows has no event descriptor that select accepts, so the waker is a
// datagram socket on the loopback address that sends to itself.
Waker::Waker() {
  int error = 0;
  const Handle s = OpenDatagram(error);
  if (s == InvalidHandle) {
    return;
  }
  u_long nonBlocking = 1;
  if (Bind(s, 0x7F000001U, 0) != 0 || ::ioctlsocket(Sock(s), FIONBIO, &nonBlocking) != 0) {
    Close(s);
    return;
  }
  handle_ = s;
}

Waker::~Waker() {
  if (handle_ != InvalidHandle) {
    ::closesocket(Sock(handle_));
  }
}

void Waker::Wake() {
  if (handle_ == InvalidHandle) {
    return;
  }
  Ipv4 address = 0;
  int port = 0;
  if (LocalAddress(handle_, address, port) == 0) {
    const sockaddr_in sa = MakeAddress(address, port);
    const char byte = 1;
    ::sendto(Sock(handle_), &byte, 1, 0, reinterpret_cast<const sockaddr*>(&sa), sizeof sa);
  }
}

void Waker::Drain() {
  char byte = 0;
  while (::recv(Sock(handle_), &byte, 1, 0) != SOCKET_ERROR) {
  }
}

int Wait(const std::vector<Handle>& sockets, const Waker* waker, int timeoutMs,
         std::vector<Handle>& readable, bool& woken) {
  readable.clear();
  woken = false;
  const bool hasWaker = waker != nullptr && waker->Valid();
  const std::size_t count = sockets.size() + (hasWaker ? 1 : 0);
  if (count > FD_SETSIZE) {
    return WSAEINVAL;
  }
  if (count == 0) {
    // select refuses empty sets at once; a caller in a loop must still wait.
    ::Sleep(static_cast<DWORD>(timeoutMs < 0 ? 0 : timeoutMs));
    return 0;
  }
  fd_set set;
  FD_ZERO(&set);
  for (const Handle s : sockets) {
    FD_SET(Sock(s), &set);
  }
  if (hasWaker) {
    FD_SET(Sock(waker->handle_), &set);
  }
  timeval timeout{};
  timeout.tv_sec = timeoutMs / 1000;
  timeout.tv_usec = (timeoutMs % 1000) * 1000;
  if (::select(0, &set, nullptr, nullptr, &timeout) == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  for (const Handle s : sockets) {
    if (FD_ISSET(Sock(s), &set)) {
      readable.push_back(s);
    }
  }
  if (hasWaker && FD_ISSET(Sock(waker->handle_), &set)) {
    woken = true;
    const_cast<Waker*>(waker)->Drain();
  }
  return 0;
}

// Sleep() rests a whole scheduler tick, 1 to 16 ms: far too long.
void RestBetweenBatches() {}

int HostName(AnsiString& name) {
  char buffer[HostNameBufferSize] = {};
  if (::gethostname(buffer, HostNameBufferSize) == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  name.assign(buffer, strnlen(buffer, sizeof buffer));
  return 0;
}

int ResolveIPv4(const AnsiString& name, Ipv4& address) {
  const hostent* host = nullptr;
  if (const int error = LookUp(name, host); error != 0) {
    return error;
  }
  if (host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr) {
    return WSAHOST_NOT_FOUND;
  }
  address = AddressAt(*host, 0);
  return 0;
}

int HostAddresses(std::vector<Ipv4>& addresses) {
  addresses.clear();
  AnsiString name;
  if (const int error = HostName(name); error != 0) {
    return error;
  }
  const hostent* host = nullptr;
  if (const int error = LookUp(name, host); error != 0) {
    return error;
  }
  for (int i = 0;
       i < MaxHostAddresses && host->h_addr_list != nullptr && host->h_addr_list[i] != nullptr;
       ++i) {
    addresses.push_back(AddressAt(*host, i));
  }
  return 0;
}

int ListInterfaces(std::vector<InterfaceAddress>& list) {
  list.clear();
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    return ::WSAGetLastError();
  }
  const int error = QueryInterfaceList(s, list);
  ::closesocket(s);
  return error;
}

int InvalidArgumentError() { return WSAEINVAL; }

// Windows hands a broadcast to every socket bound to an address of the
// interface it arrived on.
bool BoundSocketsHearBroadcasts() { return true; }

SocketErrorKind KindOf(int error) { return KindIn(WinsockKinds, error); }

}  // namespace tb::socketlayer
