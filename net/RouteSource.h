// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "net/Ipv4Address.h"

namespace tb {

// The local address the system's routing picks for datagrams to
// `destination`: a scratch datagram socket is connected to it, which sends
// nothing, and asked for its own address. 0 when no route leads there.
Ipv4 RouteSource(Ipv4 destination);

}  // namespace tb
