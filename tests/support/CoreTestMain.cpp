// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest entry point with a QCoreApplication, so that deliveries handed
// over to "the GUI thread" (here the main thread) can be run by processing
// its event queue.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // The program's settings (the list of other networks) never the user's own.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
