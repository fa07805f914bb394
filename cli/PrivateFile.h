// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>

namespace tb::cli {

// Whether users other than the file's owner may read it, where the system
// says so by the file's mode; one file per platform.
bool OthersMayRead(const QFileDevice& file);

}  // namespace tb::cli
