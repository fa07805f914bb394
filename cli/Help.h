// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tb::cli {

// The help of one command of the command table, or of the whole program for
// any other name.
QString HelpText(const QString& command);
QString VersionText();

}  // namespace tb::cli
