// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceLookup.h"

#include <gtest/gtest.h>

#include "cli/ExitCodes.h"

namespace tb::cli {
namespace {

TEST(FindDevice, TakesTheExactMacElseTheOnlyOneSpeltAlike) {
  DeviceListModel devices;
  for (const char* mac : {"00:aa:00:00:00:02", "00:AA:00:00:00:02", "00-BB-00-00-00-01", "-"}) {
    DeviceRow row;
    row.subItems[SubMAC] = mac;
    devices.AddRow(row);
  }
  struct Case {
    const char* typed;
    const char* found;  // nullptr: none
    int status;
  };
  const Case cases[] = {
      {"00:aa:00:00:00:02", "00:aa:00:00:00:02", ExitOk},
      {"00:AA:00:00:00:02", "00:AA:00:00:00:02", ExitOk},
      // Two devices differ only in letter case: a third spelling names neither.
      {"00aa00000002", nullptr, ExitUsage},
      {"00:bb:00:00:00:01", "00-BB-00-00-00-01", ExitOk},
      {"00:BB:00:00:00:0", nullptr, ExitNoDevice},
      {"-", "-", ExitOk},
      {":", nullptr, ExitNoDevice},
  };
  for (const Case& c : cases) {
    int status = -1;
    const DeviceRow* row = FindDevice(devices, QString::fromLatin1(c.typed), status);
    EXPECT_EQ(row == nullptr ? std::string("(none)") : row->MAC(),
              c.found == nullptr ? std::string("(none)") : std::string(c.found))
        << c.typed;
    EXPECT_EQ(status, c.status) << c.typed;
  }
}

}  // namespace
}  // namespace tb::cli
