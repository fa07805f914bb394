#include <clocale>

#include "app/MainWindow.h"
#include "ui/About.h"
#include "ui/Application.h"
#include "ui/Properties.h"

int main(int argc, char* argv[]) {
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
