// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>

#include "net/InterfaceListWindows.h"
#include "net/LocalInterfaces.h"
#include "net/WinsockHeaders.h"

namespace tb {

namespace {

// GetComputerNameA's buffer, as the interface records carry it.
constexpr DWORD ComputerNameBufferSize = 16;

AnsiString ComputerName() {
  char buffer[ComputerNameBufferSize] = {};
  DWORD size = ComputerNameBufferSize;
  if (::GetComputerNameA(buffer, &size) == 0) {
    return {};
  }
  return {buffer, strnlen(buffer, sizeof buffer)};
}

}  // namespace

// Asks Windows Sockets itself, with a start-up of its own, so that it works
// whether or not the endpoint's stack exists.
bool GetLocalInterfaces(std::vector<TLocalInterface>& list) {
  list.clear();
  WSADATA data{};
  // A failed start-up must not be paired with a clean-up: that would take
  // away the start-up of the endpoint's stack instead.
  const bool started = ::WSAStartup(MAKEWORD(2, 0), &data) == 0;
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    if (started) {
      ::WSACleanup();
    }
    return false;
  }
  try {
    std::vector<socketlayer::InterfaceAddress> interfaces;
    if (socketlayer::QueryInterfaceList(s, interfaces) == 0) {
      const AnsiString computerName = ComputerName();
      for (const auto& entry : interfaces) {
        list.push_back(DescribeInterface(entry, computerName));
      }
    }
  } catch (...) {  // NOLINT(bugprone-empty-catch): a partial list is still a list
  }
  ::closesocket(s);
  if (started) {
    ::WSACleanup();
  }
  return true;
}

}  // namespace tb
