#pragma once

#include <functional>
#include <vector>

#include "AnsiString.h"
#include "LocalInterfaces.h"

namespace tb {

// What the main window asks of the machine it runs on. The program uses the
// real listings; tests hand in their own.
struct MainServices {
  std::function<bool(std::vector<TLocalInterface>&)> getLocalInterfaces;
  std::function<std::vector<AnsiString>()> listHostAddresses;
  // Empty: commands go out through the endpoint's broadcast fan-out. Tests
  // that must not touch the network record the commands here instead.
  std::function<void(const AnsiString&)> sendCommand;

  static MainServices System();
};

}  // namespace tb
