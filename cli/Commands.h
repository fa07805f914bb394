// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tb::cli {

// The whole command line, program name first; returns the exit status.
int Run(const QStringList& arguments);

// Each command gets its own arguments, its name first.
int Discover(const QStringList& arguments);
int Configure(const QStringList& arguments);
int Open(const QStringList& arguments);
int Doctor(const QStringList& arguments);
int Targets(const QStringList& arguments);

}  // namespace tb::cli
