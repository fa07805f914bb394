// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tb::cli {

// The bash completion of brelvan, from the command table: the commands,
// each command's options, and file names after an option that reads a file.
QString BashCompletion();

}  // namespace tb::cli
