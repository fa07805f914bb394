// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/MessageSlotPosix.h"

#include <arpa/inet.h>

#include <cstring>

#include "net/SocketAddressPosix.h"

namespace tb::socketlayer {

void MessageSlot::Point(msghdr& msg, char* bytes, std::size_t size) {
  iov = iovec{bytes, size};
  msg = msghdr{};
  msg.msg_name = &peer;
  msg.msg_namelen = sizeof peer;
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
}

void ReceiveSlot::Prepare(msghdr& msg, char* buffer, std::size_t capacity) {
  Point(msg, buffer, capacity);
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
}

// sendmsg only reads the bytes; iovec has no pointer to const.
void SendSlot::Prepare(msghdr& msg, const char* data, std::size_t size, Ipv4 address, int port) {
  peer = MakeAddress(address, port);
  Point(msg, const_cast<char*>(data), size);
}

void SendSlot::Via(msghdr& msg, int interfaceIndex, Ipv4 source) {
  // Only the one message: the room for a receive time beside it would be
  // read as a malformed second one.
  msg.msg_control = control;
  msg.msg_controllen = CMSG_SPACE(sizeof(in_pktinfo));
  cmsghdr* c = CMSG_FIRSTHDR(&msg);
  c->cmsg_level = IPPROTO_IP;
  c->cmsg_type = IP_PKTINFO;
  c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
  in_pktinfo info{};
  info.ipi_ifindex = interfaceIndex;
  info.ipi_spec_dst.s_addr = htonl(source);
  std::memcpy(CMSG_DATA(c), &info, sizeof info);
}

std::optional<in_pktinfo> ArrivalInfo(msghdr& msg) {
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
      // The control data need not be aligned for in_pktinfo.
      in_pktinfo info{};
      std::memcpy(&info, CMSG_DATA(c), sizeof info);
      return info;
    }
  }
  return std::nullopt;
}

std::optional<std::int64_t> ReceiveTime(msghdr& msg) {
  for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
      timespec at{};
      std::memcpy(&at, CMSG_DATA(c), sizeof at);
      return std::int64_t{at.tv_sec} * 1'000'000'000 + at.tv_nsec;
    }
  }
  return std::nullopt;
}

}  // namespace tb::socketlayer
