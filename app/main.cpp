// SPDX-License-Identifier: GPL-3.0-or-later
#include <clocale>

#include "app/MainWindow.h"
#include "core/ProcessGuard.h"
#include "ui/About.h"
#include "ui/Application.h"
#include "ui/Properties.h"

int main(int argc, char* argv[]) {
  tb::GuardProcessStart();
  // The device list sorts captions in the user's collation.
  std::setlocale(LC_COLLATE, "");
  tb::TApplication application(argc, argv);
  tb::TApplication::setApplicationName("Tarnwick Brelvan");

  tb::TfrmMain frmMain;
  tb::TfrmProperties frmProperties;
  tb::TfrmAbout frmAbout;
  frmMain.SetDialogs(&frmProperties, &frmAbout);

  frmMain.show();
  return tb::TApplication::exec();
}
