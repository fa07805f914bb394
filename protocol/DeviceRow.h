// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "common/AnsiString.h"
#include "protocol/Message.h"

namespace tb {

// Positions of the sub-items of a row.
enum SubItem : int {
  SubHost = 0,
  SubMAC = 1,
  SubVersion = 2,
  SubDHCP = 3,
  SubIP = 4,
  SubNetmask = 5,
  SubGateway = 6,
  SubHostNameMarker = 7,
  SubItemCount = 8,
};

inline constexpr const char* AcceptsHostName = "EHN";
inline constexpr const char* RefusesHostName = "NHN";

// One line of the device list: a caption and eight sub-items, the last a
// hidden marker telling whether the device accepts a host name.
struct DeviceRow {
  AnsiString caption;
  std::array<AnsiString, SubItemCount> subItems;

  const AnsiString& MAC() const { return subItems[SubMAC]; }
  bool operator==(const DeviceRow&) const = default;
};

// The row that a discovery reply (an NTM text) makes.
DeviceRow MakeDeviceRow(const AnsiString& ntmText);

// The hexadecimal digits of a MAC text, in capitals: one text for every
// notation of the same address ("00-1a-2b…", "00:1A:2B…"); the text itself
// when it holds none.
AnsiString MacDigits(const AnsiString& mac);

// The device's settings as a configuration of it starts from them: its MAC,
// DHCP on when the row says "Si" or has no address, its addresses, its host
// name and whether it takes one. The password is left empty.
ConfigRequest CurrentSettings(const DeviceRow& row);

}  // namespace tb
