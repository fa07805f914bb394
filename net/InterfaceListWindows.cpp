// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/InterfaceListWindows.h"

#include <algorithm>
#include <cstring>

namespace tb::socketlayer {

namespace {

static_assert(sizeof(INTERFACE_INFO) == 76, "the record layout the list is read with");

Ipv4 FromGen(const sockaddr_gen& address) { return ntohl(address.AddressIn.sin_addr.s_addr); }

}  // namespace

std::vector<InterfaceAddress> ReadInterfaceList(const char* buffer, std::size_t bufferSize,
                                                unsigned long bytesReturned) {
  const std::size_t bytes = std::min<std::size_t>(bytesReturned, bufferSize);
  const std::size_t count = bytes / sizeof(INTERFACE_INFO);
  std::vector<InterfaceAddress> list;
  list.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    // Copied out: the buffer promises no alignment.
    INTERFACE_INFO record{};
    std::memcpy(&record, buffer + i * sizeof record, sizeof record);
    InterfaceAddress entry;
    entry.address = FromGen(record.iiAddress);
    entry.netmask = FromGen(record.iiNetmask);
    entry.reportedBroadcast = FromGen(record.iiBroadcastAddress);
    entry.up = (record.iiFlags & IFF_UP) != 0;
    entry.broadcast = (record.iiFlags & IFF_BROADCAST) != 0;
    entry.loopback = (record.iiFlags & IFF_LOOPBACK) != 0;
    list.push_back(entry);
  }
  return list;
}

int QueryInterfaceListGrowing(const InterfaceListCall& call, std::vector<InterfaceAddress>& list) {
  list.clear();
  std::vector<char> buffer(InterfaceListBufferSize);
  for (;;) {
    unsigned long bytesReturned = 0;
    const int error = call(buffer.data(), static_cast<unsigned long>(buffer.size()), bytesReturned);
    if (error == 0) {
      list = ReadInterfaceList(buffer.data(), buffer.size(), bytesReturned);
      return 0;
    }
    // Windows says neither how many records there are nor how much room
    // they need, so the buffer grows until they fit.
    const bool tooSmall = error == WSAEFAULT || error == WSAENOBUFS;
    if (!tooSmall || buffer.size() >= InterfaceListBufferLimit) {
      return error;
    }
    buffer.assign(buffer.size() * 2, 0);
  }
}

int QueryInterfaceList(SOCKET socket, std::vector<InterfaceAddress>& list) {
  return QueryInterfaceListGrowing(
      [socket](char* buffer, unsigned long size, unsigned long& bytesReturned) {
        DWORD bytes = 0;
        const int status = ::WSAIoctl(socket, SIO_GET_INTERFACE_LIST, nullptr, 0, buffer, size,
                                      &bytes, nullptr, nullptr);
        bytesReturned = bytes;
        return status == SOCKET_ERROR ? ::WSAGetLastError() : 0;
      },
      list);
}

}  // namespace tb::socketlayer
