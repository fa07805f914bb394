// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"
#include "net/LocalInterfaces.h"

namespace tb {

// What the exchanges ask of the machine they run on. The programs use the
// real listings; tests hand in their own.
struct MainServices {
  std::function<bool(std::vector<TLocalInterface>&)> getLocalInterfaces;
  std::function<std::vector<AnsiString>()> listHostAddresses;
  // The local address routing picks towards an address; 0 for none.
  std::function<Ipv4(Ipv4)> routeSource;
  // Empty: commands go out through the endpoint's broadcast fan-out. Tests
  // that must not touch the network record the commands here instead.
  std::function<void(const AnsiString&)> sendCommand;

  static MainServices System();
};

}  // namespace tb
