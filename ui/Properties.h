// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "common/AnsiString.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tb {

class TEditIPAddr;

// One device's identity and network settings. The opener writes the data
// fields, shows the dialog and, on OK, reads back DHCP, IP, Netmask,
// Gateway, Password and HostName; after Cancel no field has changed.
class TfrmProperties : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmProperties(QWidget* owner = nullptr);

  // Modal; false for Cancel, Esc or the title bar's close button, true for
  // any other ending.
  bool ShowModalOk();

  // Returns false with the message to show when the entries may not be sent.
  // Throws the address check's error when an address edit holds no address.
  bool IsValidData(AnsiString& message);

  // Data fields.
  AnsiString Password;
  AnsiString DeviceName;
  AnsiString MAC;
  AnsiString Version;
  bool DHCP = false;
  AnsiString IP;
  AnsiString Netmask;
  AnsiString Gateway;
  bool HostNameEnabled = false;
  AnsiString HostName;

  // Controls.
  QFrame* bvlInfo = nullptr;
  QLabel* lblDevice = nullptr;
  QLabel* lblMAC = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* stDevice = nullptr;
  QLabel* stMAC = nullptr;
  QLabel* stVersion = nullptr;
  QFrame* bvlConfigure = nullptr;
  QCheckBox* chkDHCP = nullptr;
  TEditIPAddr* txtIP = nullptr;
  TEditIPAddr* txtNetmask = nullptr;
  TEditIPAddr* txtGateway = nullptr;
  QLabel* lblIP = nullptr;
  QLabel* lblNetmask = nullptr;
  QLabel* lblGateway = nullptr;
  QPushButton* btnOk = nullptr;
  QPushButton* btnCancel = nullptr;
  QLabel* lblHostName = nullptr;
  QLineEdit* txtHostname = nullptr;
  QLineEdit* txtPassword = nullptr;
  QLabel* lblPassword = nullptr;

 signals:
  // The dialog on screen has been filled from the data fields.
  void Activated();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void Translate();
  void FormActivate();
  void chkDHCPClick();
  void btnOkClick();
  void btnCancelClick();
  bool IsValidText(AnsiString& message);

  QTimer* FActivateTimer = nullptr;
};

}  // namespace tb
