// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QByteArray>
#include <QSettings>
#include <QTemporaryDir>
#include <QtGlobal>

#include "core/Latin1.h"
#include "core/TargetStore.h"
#include "ui/Application.h"
#include "ui/MessageBoxes.h"
#include "ui/ShellOpen.h"

// Widget tests run without a display: unless the caller chose a platform,
// the build's display-less one. Test discovery runs this main too.
// A message box or a browser that a test did not expect is a failure, never
// a modal window that waits for a click that will not come.
int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral(TB_TEST_PLATFORM));
  }
  tb::TApplication app(argc, argv);
  // What the windows remember (column widths, the list of other networks)
  // goes to a folder of the run's own, never into the settings of the user
  // running the tests.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  tb::TargetStore::UseFile(settings.path() + QStringLiteral("/Brelvan.ini"));
  tb::SetMessageBoxHandler([](const tb::MessageRecord& record) {
    ADD_FAILURE() << "unexpected message box \"" << record.caption.toStdString()
                  << "\": " << record.text.toStdString();
  });
  tb::SetShellOpenHandler(
      [](const tb::AnsiString& text) { ADD_FAILURE() << "unexpected shell open of " << text; });
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
