// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "core/DeviceListModel.h"

namespace tb::cli {

// The row of the device that `mac` names: the one whose MAC text is exactly
// `mac`, else the only one whose MAC has the same hexadecimal digits in any
// letter case and notation. nullptr when none or several match (reported;
// `status` is then the exit status).
const DeviceRow* FindDevice(const DeviceListModel& devices, const QString& mac, int& status);

}  // namespace tb::cli
