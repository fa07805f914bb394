// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/RouteSource.h"
#include "net/WinsockHeaders.h"

namespace tb {

Ipv4 RouteSource(Ipv4 destination) {
  const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) {
    return 0;
  }
  // A listed network may be a local one, whose broadcast needs the permission.
  const BOOL on = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on);
  Ipv4 source = 0;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = htonl(destination);
  to.sin_port = htons(9);
  sockaddr_in own{};
  int length = sizeof own;
  if (::connect(s, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&own), &length) == 0) {
    source = ntohl(own.sin_addr.s_addr);
  }
  ::closesocket(s);
  return source;
}

}  // namespace tb
