// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"
#include "net/SocketErrorText.h"

// The one interface between the endpoint and the operating system's sockets.
// Each platform supplies its own SocketLayer<Platform>.cpp; nothing above this
// header sees a platform's names, handle type or error numbering. Calls report
// failure through a native error code (0 = success) that only the layer itself
// interprets.
namespace tb::socketlayer {

using Handle = std::uintptr_t;
inline constexpr Handle InvalidHandle = ~Handle{0};

// Once per process, from TIdStack; false when the platform's library fails to start.
bool StartUp();
void CleanUp();

// An IPv4 datagram socket, or InvalidHandle with `error` set.
Handle OpenDatagram(int& error);
// Shuts the socket down for sending, then closes it; results are ignored.
void Close(Handle socket);

int Bind(Handle socket, Ipv4 address, int port);
int LocalAddress(Handle socket, Ipv4& address, int& port);
int SetBroadcast(Handle socket, bool enabled);
// Asks for the arrival interface of every datagram (see Datagram::interfaceIndex).
int EnableArrivalInfo(Handle socket);
// Asks the system to stamp every datagram with the time it received it
// (Datagram::receivedNs). Where it cannot, datagrams carry the time they were
// read, which is later by however long they waited in the socket.
int EnableReceiveTimes(Handle socket);
// The wall clock as Datagram::receivedNs counts it.
std::int64_t WallClockNs();

int SendTo(Handle socket, const char* data, std::size_t size, Ipv4 address, int port,
           std::size_t& sent);
// As SendTo, but out of interface `interfaceIndex` whatever the routes say: a
// limited broadcast has no route of its own, and a diagnosis must know which
// network it asked. Posix only, for `brelvan doctor`.
int SendOutOf(Handle socket, const char* data, std::size_t size, Ipv4 address, int port,
              int interfaceIndex, std::size_t& sent);

struct Datagram {
  std::size_t size = 0;
  bool truncated = false;  // longer than the buffer: must be dropped
  Ipv4 sourceAddress = 0;
  int sourcePort = 0;
  int interfaceIndex = 0;  // 0 when unknown
  // The header's destination: tells a broadcast from a unicast answer; 0 when unknown.
  Ipv4 destinationAddress = 0;
  // When the system received it, in nanoseconds of the wall clock since
  // 1970: the kernel's own stamp where the socket asked for one
  // (EnableReceiveTimes), else the moment it was read.
  std::int64_t receivedNs = 0;
};
// Receives one datagram into buffer[0, capacity).
int Receive(Handle socket, char* buffer, std::size_t capacity, Datagram& datagram);
// Up to `count` datagrams that are already waiting, without ever blocking:
// the i-th lands in buffers[i * capacity, (i + 1) * capacity). `datagrams`
// gets one entry per datagram taken, none when the socket is empty.
int ReceiveWaiting(Handle socket, char* buffers, std::size_t capacity, std::size_t count,
                   std::vector<Datagram>& datagrams);

// Room for bursts: asks the system for a receive buffer of `wanted` bytes,
// past the limit set for ordinary programs where this process may, and
// otherwise as much of it as that limit allows. `granted` gets the size the
// system reports afterwards.
int RaiseReceiveBuffer(Handle socket, int wanted, int& granted);

// Something that wakes a Wait() from another thread; a stop request uses it
// because closing a socket does not end a wait on every platform.
class Waker {
 public:
  Waker();
  ~Waker();
  Waker(const Waker&) = delete;
  Waker& operator=(const Waker&) = delete;

  bool Valid() const { return handle_ != InvalidHandle; }
  void Wake();

 private:
  friend int Wait(const std::vector<Handle>&, const Waker*, int, std::vector<Handle>&, bool&);
  void Drain();
  Handle handle_ = InvalidHandle;
};

// Waits until one of `sockets` is readable, the waker fires or `timeoutMs`
// has passed. `readable` gets the readable sockets in the order given.
int Wait(const std::vector<Handle>& sockets, const Waker* waker, int timeoutMs,
         std::vector<Handle>& readable, bool& woken);
// A short rest after a wait that found datagrams, so that under a steady
// stream each wake-up reads a batch rather than a datagram or two: a wake-up
// costs more than the reading. Returns at once where the system cannot sleep
// for less than a millisecond or so.
void RestBetweenBatches();

int HostName(AnsiString& name);
// The first IPv4 address of a host name.
int ResolveIPv4(const AnsiString& name, Ipv4& address);
// The addresses the host can be reached on, in the system's order: on Windows
// those its own name resolves to, elsewhere those of the interfaces that are
// up and not loopback (there the name usually resolves to 127.0.1.1).
int HostAddresses(std::vector<Ipv4>& addresses);

struct InterfaceAddress {
  AnsiString name;
  int index = 0;
  Ipv4 address = 0;
  Ipv4 netmask = 0;
  Ipv4 reportedBroadcast = 0;
  bool up = false;
  bool broadcast = false;
  bool loopback = false;
  // Reported where the system has them (not on Windows): the link is there
  // (cable, radio); the interface is a point-to-point link.
  bool running = false;
  bool pointToPoint = false;
  // Empty, or what makes the interface a tunnel ("point-to-point",
  // "WireGuard", ...): broadcasts do not cross it. Not known on Windows.
  AnsiString tunnel;

  Ipv4 DirectedBroadcastAddress() const { return DirectedBroadcast(address, netmask); }
  bool Holds(Ipv4 other) const { return (other & netmask) == (address & netmask); }
};
// Every IPv4 address of every interface, in the system's order.
int ListInterfaces(std::vector<InterfaceAddress>& list);

SocketErrorKind KindOf(int error);
// The native code for an invalid argument, for faults found before any call.
int InvalidArgumentError();

// Whether a socket bound to a unicast address also hears the broadcasts of
// its network. Where it does not, the endpoint adds receive-only sockets
// (TBroadcastReceivers) so that answers by broadcast are not lost.
bool BoundSocketsHearBroadcasts();

}  // namespace tb::socketlayer
