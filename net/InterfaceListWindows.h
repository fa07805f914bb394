// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "net/SocketLayer.h"
#include "net/WinsockHeaders.h"

namespace tb::socketlayer {

// The first buffer that SIO_GET_INTERFACE_LIST is given: room for 13 records
// of 76 bytes, which most computers never exceed. With more interfaces
// Windows refuses the call instead of filling what fits.
inline constexpr std::size_t InterfaceListBufferSize = 1024;
// Where the growing stops: far beyond any computer's interfaces, so a call
// that fails for another reason cannot grow the buffer without end.
inline constexpr std::size_t InterfaceListBufferLimit = std::size_t{1} << 20;

// The whole INTERFACE_INFO records among the first `bytesReturned` bytes of
// `buffer`; a count larger than the buffer is taken as the buffer's size.
std::vector<InterfaceAddress> ReadInterfaceList(const char* buffer, std::size_t bufferSize,
                                                unsigned long bytesReturned);

// One call of the listing into `buffer` of `size` bytes: 0 or a WSA code,
// the bytes filled in `bytesReturned`.
using InterfaceListCall =
    std::function<int(char* buffer, unsigned long size, unsigned long& bytesReturned)>;

// Calls `call` with a buffer that doubles while the answer is "too small"
// (WSAEFAULT or WSAENOBUFS), up to InterfaceListBufferLimit, and reads the
// records of the call that succeeded. 0 or the last WSA code.
int QueryInterfaceListGrowing(const InterfaceListCall& call, std::vector<InterfaceAddress>& list);

// Asks for the list through `socket` (any IPv4 socket). 0 or a WSA code.
int QueryInterfaceList(SOCKET socket, std::vector<InterfaceAddress>& list);

}  // namespace tb::socketlayer
