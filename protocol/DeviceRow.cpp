// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/DeviceRow.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "protocol/Message.h"
#include "protocol/ModelTable.h"

namespace tb {

namespace {

// Firmware of products 1118 and 1119 older than the host-name feature.
constexpr std::array<std::string_view, 8> VersionsWithoutHostName{
    "1.0.0", "1.0.2", "1.0.3", "1.0.4", "1.0.5", "1.0.6", "1.0.7", "1.0.8"};

bool AcceptsHostNameFor(const AnsiString& code, const AnsiString& version, bool hasEightFields) {
  if (!hasEightFields) {
    return false;
  }
  if (code != "1118" && code != "1119") {
    return true;
  }
  return std::find(VersionsWithoutHostName.begin(), VersionsWithoutHostName.end(), version) ==
         VersionsWithoutHostName.end();
}

}  // namespace

DeviceRow MakeDeviceRow(const AnsiString& ntmText) {
  const AnsiString code = GetField(ntmText, 1, '(');
  const AnsiString mac = GetField(ntmText, 2, ',');
  const AnsiString version = GetField(ntmText, 1, ',');
  const AnsiString dhcp = GetField(ntmText, 6, ',');
  const AnsiString ip = GetField(ntmText, 3, ',');
  const AnsiString netmask = GetField(ntmText, 4, ',');
  const AnsiString gateway = GetField(ntmText, 5, ',');
  const AnsiString hostName = GetField(ntmText, 7, ',');
  const AnsiString deviceName = GetField(ntmText, 8, ',');
  const bool hasEightFields = HasFields(ntmText, 8);
  const bool hasNineFields = HasFields(ntmText, 9);

  DeviceRow row;
  row.caption = hasNineFields ? deviceName : ModelNameForCode(code);
  const bool accepts = AcceptsHostNameFor(code, version, hasEightFields);
  row.subItems[SubHost] = accepts ? hostName : AnsiString("-");
  row.subItems[SubMAC] = mac;
  row.subItems[SubVersion] = version;
  row.subItems[SubDHCP] = dhcp == "0" ? "No" : "Si";
  row.subItems[SubIP] = ip;
  row.subItems[SubNetmask] = netmask;
  row.subItems[SubGateway] = gateway;
  row.subItems[SubHostNameMarker] = accepts ? AcceptsHostName : RefusesHostName;
  return row;
}

AnsiString MacDigits(const AnsiString& mac) {
  AnsiString digits;
  for (const char c : mac) {
    const char upper = (c >= 'a' && c <= 'f') ? static_cast<char>(c - 'a' + 'A') : c;
    if ((upper >= '0' && upper <= '9') || (upper >= 'A' && upper <= 'F')) {
      digits += upper;
    }
  }
  return digits.empty() ? mac : digits;
}

ConfigRequest CurrentSettings(const DeviceRow& row) {
  ConfigRequest request;
  request.mac = row.subItems[SubMAC];
  request.dhcp = row.subItems[SubDHCP] == "Si" || row.subItems[SubIP] == "0.0.0.0";
  request.ip = row.subItems[SubIP];
  request.netmask = row.subItems[SubNetmask];
  request.gateway = row.subItems[SubGateway];
  request.hostNameEnabled = row.subItems[SubHostNameMarker] == AcceptsHostName;
  request.hostName = row.subItems[SubHost];
  return request;
}

}  // namespace tb
