// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DeviceLookup.h"

#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "core/Latin1.h"

namespace tb::cli {

namespace {

QString HexDigits(const QString& mac) { return Text(MacDigits(ToAnsi(mac))); }

}  // namespace

const DeviceRow* FindDevice(const DeviceListModel& devices, const QString& mac, int& status) {
  status = ExitOk;
  const QString digits = HexDigits(mac);
  const DeviceRow* alike = nullptr;
  QStringList alikeMacs;
  for (int i = 0; i < devices.Count(); ++i) {
    const DeviceRow& row = devices.Row(i);
    const QString rowMac = Text(row.MAC());
    if (rowMac == mac) {
      return &row;
    }
    if (!digits.isEmpty() && HexDigits(rowMac) == digits) {
      alike = &row;
      alikeMacs << rowMac;
    }
  }
  if (alikeMacs.size() == 1) {
    return alike;
  }
  if (alikeMacs.isEmpty()) {
    Err(QStringLiteral("no device with MAC %1 answered the query").arg(mac));
    status = ExitNoDevice;
  } else {
    Err(QStringLiteral("%1 matches several devices: %2; give the MAC exactly")
            .arg(mac, alikeMacs.join(QStringLiteral(", "))));
    status = ExitUsage;
  }
  return nullptr;
}

}  // namespace tb::cli
