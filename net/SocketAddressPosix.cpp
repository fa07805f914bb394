// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/SocketAddressPosix.h"

#include <arpa/inet.h>

#include <cstdint>
#include <cstring>

namespace tb::socketlayer {

sockaddr_in MakeAddress(Ipv4 address, int port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(address);
  sa.sin_port = htons(static_cast<std::uint16_t>(port));
  return sa;
}

// Copied out rather than cast: the system's sockaddr need not be aligned for
// a sockaddr_in.
Ipv4 FromSockaddr(const sockaddr* sa) {
  if (sa == nullptr || sa->sa_family != AF_INET) {
    return 0;
  }
  sockaddr_in in{};
  std::memcpy(&in, sa, sizeof in);
  return ntohl(in.sin_addr.s_addr);
}

}  // namespace tb::socketlayer
