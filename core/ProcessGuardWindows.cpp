// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ProcessGuard.h"

namespace tb {

// Windows grants no capability to a program file, and binding port 998 needs
// no privilege there.
void GuardProcessStart() {}
void DropBindCapability() {}

}  // namespace tb
