// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PrivateFile.h"

namespace tb::cli {

// Access on Windows is the folder's and the file's access lists, which Qt's
// mode bits do not show: a user's profile is private by default.
bool OthersMayRead(const QFileDevice& /*file*/) { return false; }

}  // namespace tb::cli
