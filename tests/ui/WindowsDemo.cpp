// SPDX-License-Identifier: GPL-3.0-or-later
// Shows one window of the dialog side with sample data, for looking at it
// on a real display: tb_ui_demo properties|dhcp|about|info|message|error|edit
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <cstring>

#include "tests/ui/SampleDevice.h"
#include "ui/About.h"
#include "ui/Application.h"
#include "ui/EditIPAddr.h"
#include "ui/FormStyle.h"
#include "ui/InfoMsg.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"

int main(int argc, char** argv) {
  tb::TApplication app(argc, argv);
  const char* what = argc > 1 ? argv[1] : "properties";
  if (std::strcmp(what, "properties") == 0 || std::strcmp(what, "dhcp") == 0) {
    tb::TfrmProperties dlg;
    tb::test::FillSampleDevice(dlg, std::strcmp(what, "dhcp") == 0);
    QTimer::singleShot(300, [&] { dlg.txtPassword->setText(QStringLiteral("secret")); });
    dlg.ShowModalOk();
  } else if (std::strcmp(what, "about") == 0) {
    tb::TfrmAbout about;
    about.exec();
  } else if (std::strcmp(what, "info") == 0) {
    // As at program start: no event loop runs while the notice is up.
    QWidget owner;
    tb::TInfoMessage info(&owner);
    info.MessageText = "Actualizando configuraci\xF3n en el dispositivo...";
    info.Show();
    QThread::sleep(10);
  } else if (std::strcmp(what, "message") == 0) {
    tb::ShowProgramMessage(nullptr, "Direcci\xF3n IP no v\xE1lida.");
  } else if (std::strcmp(what, "error") == 0) {
    tb::ShowErrorReport(nullptr,
                        "IPAddress must include 4 pieces of length 1..3. IPAddressString[]");
  } else if (std::strcmp(what, "edit") == 0) {
    QWidget form;
    tb::ApplyFormStyle(&form, 140, 60);
    auto* edit = new tb::TEditIPAddr(&form);
    edit->move(20, 20);
    edit->SetText("255.255.255.255");
    form.show();
    return QApplication::exec();
  }
  return 0;
}
