// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstddef>
#include <optional>

namespace tb::socketlayer {

// Where recvmsg, or one message of recvmmsg, puts a datagram's source address
// and its IP_PKTINFO beside the caller's buffer for the bytes. The endpoint,
// the device simulator and the lab's peers all read datagrams this way.
struct ReceiveSlot {
  sockaddr_in source{};
  iovec iov{};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};

  // Points `msg`, emptied first, at this slot and at buffer[0, capacity).
  void Prepare(msghdr& msg, char* buffer, std::size_t capacity);
};

// The arrival information of the datagram just received through `msg`;
// nullopt where the socket did not ask for it (IP_PKTINFO).
std::optional<in_pktinfo> ArrivalInfo(msghdr& msg);

}  // namespace tb::socketlayer
