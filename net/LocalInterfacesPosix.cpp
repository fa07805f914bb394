// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/LocalInterfaces.h"

#include "net/SocketLayer.h"

namespace tb {

namespace {

// The computer name is reported as a 16-character buffer would hold it.
constexpr std::size_t ComputerNameLength = 15;

}  // namespace

bool GetLocalInterfaces(std::vector<TLocalInterface>& list) {
  list.clear();
  try {
    std::vector<socketlayer::InterfaceAddress> interfaces;
    if (socketlayer::ListInterfaces(interfaces) != 0) {
      return true;
    }
    AnsiString computerName;
    if (socketlayer::HostName(computerName) == 0) {
      computerName = computerName.substr(0, ComputerNameLength);
    } else {
      computerName.clear();
    }
    for (const auto& entry : interfaces) {
      list.push_back(DescribeInterface(entry, computerName));
    }
  } catch (...) {  // NOLINT(bugprone-empty-catch): a partial list is still a list
  }
  return true;
}

}  // namespace tb
