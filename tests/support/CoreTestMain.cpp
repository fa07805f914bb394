// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest entry point with a QCoreApplication, so that deliveries handed
// over to "the GUI thread" (here the main thread) can be run by processing
// its event queue.
#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
