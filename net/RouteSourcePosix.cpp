// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/socket.h>
#include <unistd.h>

#include "net/RouteSource.h"
#include "net/SocketAddressPosix.h"

namespace tb {

Ipv4 RouteSource(Ipv4 destination) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return 0;
  }
  // A listed network may be a local one, whose broadcast needs the permission.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  Ipv4 source = 0;
  const sockaddr_in to = socketlayer::MakeAddress(destination, 9);
  sockaddr_in own{};
  socklen_t length = sizeof own;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&own), &length) == 0) {
    source = socketlayer::FromSockaddr(reinterpret_cast<const sockaddr*>(&own));
  }
  ::close(fd);
  return source;
}

}  // namespace tb
