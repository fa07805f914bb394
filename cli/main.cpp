// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <clocale>

#include "cli/Commands.h"
#include "core/ProcessGuard.h"

// brelvan: the program's query and configuration from the command line.
int main(int argc, char* argv[]) {
  tb::GuardProcessStart();
  // Devices are listed in the user's collation, as the window lists them.
  std::setlocale(LC_COLLATE, "");
  const QCoreApplication application(argc, argv);
  return tb::cli::Run(QCoreApplication::arguments());
}
