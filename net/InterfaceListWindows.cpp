// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/InterfaceListWindows.h"

#include <algorithm>
#include <array>
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

int QueryInterfaceList(SOCKET socket, std::vector<InterfaceAddress>& list) {
  list.clear();
  std::array<char, InterfaceListBufferSize> buffer{};
  DWORD bytesReturned = 0;
  if (::WSAIoctl(socket, SIO_GET_INTERFACE_LIST, nullptr, 0, buffer.data(),
                 static_cast<DWORD>(buffer.size()), &bytesReturned, nullptr,
                 nullptr) == SOCKET_ERROR) {
    return ::WSAGetLastError();
  }
  list = ReadInterfaceList(buffer.data(), buffer.size(), bytesReturned);
  return 0;
}

}  // namespace tb::socketlayer
