// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include "net/Ipv4Address.h"

namespace tb::socketlayer {

// The socket address of `address`:`port`, for bind, sendto and sendmsg.
sockaddr_in MakeAddress(Ipv4 address, int port);

// The IPv4 address in a socket address the system filled in (an interface's,
// a resolver's); 0 for none or for another family.
Ipv4 FromSockaddr(const sockaddr* sa);

}  // namespace tb::socketlayer
