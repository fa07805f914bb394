// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PrivateFile.h"

namespace tb::cli {

bool OthersMayRead(const QFileDevice& file) {
  return (file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) != 0;
}

}  // namespace tb::cli
