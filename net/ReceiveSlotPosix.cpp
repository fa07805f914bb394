// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/ReceiveSlotPosix.h"

#include <cstring>

namespace tb::socketlayer {

void ReceiveSlot::Prepare(msghdr& msg, char* buffer, std::size_t capacity) {
  iov = iovec{buffer, capacity};
  msg = msghdr{};
  msg.msg_name = &source;
  msg.msg_namelen = sizeof source;
  msg.msg_iov = &iov;
  msg.msg_iovlen = 1;
  msg.msg_control = control;
  msg.msg_controllen = sizeof control;
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

}  // namespace tb::socketlayer
