// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "net/SocketLayer.h"
#include "net/WinsockHeaders.h"

namespace tb::socketlayer {

// The buffer that SIO_GET_INTERFACE_LIST fills: room for 13 records of 76
// bytes. With more interfaces Windows refuses the call.
inline constexpr std::size_t InterfaceListBufferSize = 1024;

// The whole INTERFACE_INFO records among the first `bytesReturned` bytes of
// `buffer`; a count larger than the buffer is taken as the buffer's size.
std::vector<InterfaceAddress> ReadInterfaceList(const char* buffer, std::size_t bufferSize,
                                                unsigned long bytesReturned);

// Asks for the list through `socket` (any IPv4 socket). 0 or a WSA code.
int QueryInterfaceList(SOCKET socket, std::vector<InterfaceAddress>& list);

}  // namespace tb::socketlayer
