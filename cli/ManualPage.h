// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tb::cli {

// brelvan(1) in roff: the help of the whole program, from the command table
// and the exit codes, with the environment, examples and pointers a manual
// page adds.
QString ManualPage();

}  // namespace tb::cli
