// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>

#include "net/Ipv4Address.h"

namespace tb::socketlayer {

// What a msghdr points at besides the bytes: the other end's address and room
// for one IP_PKTINFO. recvmsg fills them and sendmsg reads them in place, so
// a slot outlives the call it serves.
struct MessageSlot {
  sockaddr_in peer{};
  iovec iov{};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo)) + CMSG_SPACE(sizeof(timespec))] = {};

 protected:
  // Points `msg`, emptied first, at `peer` and at bytes[0, size).
  void Point(msghdr& msg, char* bytes, std::size_t size);
};

// Where recvmsg, or one message of recvmmsg, puts a datagram's source address
// (`peer`) and its IP_PKTINFO beside the caller's buffer for the bytes. The
// endpoint, the device simulator and the lab's peers all read datagrams this
// way.
struct ReceiveSlot : MessageSlot {
  // Points `msg`, emptied first, at this slot and at buffer[0, capacity).
  void Prepare(msghdr& msg, char* buffer, std::size_t capacity);
};

// A datagram for sendmsg to `address`:`port`. The endpoint and the device
// simulator both send this way when a datagram must leave by one interface:
// a limited broadcast has no route of its own.
struct SendSlot : MessageSlot {
  // Points `msg`, emptied first, at this slot and at data[0, size), with no
  // IP_PKTINFO: the routing chooses interface and source.
  void Prepare(msghdr& msg, const char* data, std::size_t size, Ipv4 address, int port);
  // Adds the IP_PKTINFO to a prepared `msg`: out of interface `interfaceIndex`
  // (0: by routing), from `source` (0: by routing).
  void Via(msghdr& msg, int interfaceIndex, Ipv4 source);
};

// The arrival information of the datagram just received through `msg`;
// nullopt where the socket did not ask for it (IP_PKTINFO).
std::optional<in_pktinfo> ArrivalInfo(msghdr& msg);
// The kernel's receive time of that datagram, in nanoseconds since 1970;
// nullopt where the socket did not ask for it (SO_TIMESTAMPNS).
std::optional<std::int64_t> ReceiveTime(msghdr& msg);

}  // namespace tb::socketlayer
