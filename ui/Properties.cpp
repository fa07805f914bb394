// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Properties.h"
#include "ui/ErrorGuard.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "core/ConfigEntryChecks.h"
#include "core/Latin1.h"
#include "ui/EditIPAddr.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"

namespace tb {

namespace {

constexpr int kClientWidth = 265;
constexpr int kClientHeight = 328;

QLabel* MakeLabel(QWidget* parent, const char* text, int left, int top) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

void SetCaption(QLabel* label, const char* text) {
  label->setText(FromAnsi(text));
  label->adjustSize();
}

// A read-only value box: sunken, centred, never a tab stop. The values come
// from the network, so they are shown as plain text.
QLabel* MakeStaticText(QWidget* parent, int left, int top) {
  auto* text = new QLabel(parent);
  text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  text->setAlignment(Qt::AlignCenter);
  text->setTextFormat(Qt::PlainText);
  text->setGeometry(left, top, 137, 17);
  return text;
}

QFrame* MakeBevel(QWidget* parent, int left, int top, int width, int height) {
  auto* bevel = new QFrame(parent);
  bevel->setFrameStyle(QFrame::Box | QFrame::Raised);
  bevel->setGeometry(left, top, width, height);
  return bevel;
}

TEditIPAddr* MakeAddressEdit(QWidget* parent, int top) {
  auto* edit = new TEditIPAddr(parent);
  edit->setGeometry(128, top, 100, 21);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* caption, int left) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setGeometry(left, 296, 75, 25);
  return button;
}

ConfigEntry Typed(const QLineEdit* edit) {
  const QString text = edit->text();
  return {ToAnsi(text), !IsLatin1(text)};
}

}  // namespace

TfrmProperties::TfrmProperties(QWidget* owner) : QDialog(owner, DialogWindowFlags()) {
  setWindowTitle(QStringLiteral("Device Properties"));
  ApplyFormStyle(this, kClientWidth, kClientHeight);

  // Frames first, so that they lie beneath everything; the controls that take
  // the focus are made in tab order, which Qt's focus chain follows.
  bvlInfo = MakeBevel(this, 8, 8, 249, 113);
  bvlConfigure = MakeBevel(this, 8, 128, 249, 161);
  lblDevice = MakeLabel(this, "Device", 24, 16);
  lblMAC = MakeLabel(this, "MAC", 24, 40);
  lblVersion = MakeLabel(this, "Firmware Version", 24, 64);
  stDevice = MakeStaticText(this, 112, 16);
  stMAC = MakeStaticText(this, 112, 40);
  stVersion = MakeStaticText(this, 112, 64);

  chkDHCP = new QCheckBox(QStringLiteral("Enable DHCP"), this);
  chkDHCP->setGeometry(24, 165, 113, 17);
  txtIP = MakeAddressEdit(this, 190);
  txtNetmask = MakeAddressEdit(this, 222);
  txtGateway = MakeAddressEdit(this, 254);
  lblIP = MakeLabel(this, "IP", 48, 192);
  lblNetmask = MakeLabel(this, "Netmask", 48, 224);
  lblGateway = MakeLabel(this, "Gateway", 48, 256);
  btnOk = MakeButton(this, "&Ok", 104);
  btnOk->setDefault(true);
  btnCancel = MakeButton(this, "&Cancel", 184);
  lblHostName = MakeLabel(this, "Host name", 24, 144);

  txtHostname = new QLineEdit(this);
  txtHostname->setGeometry(127, 140, 100, 21);
  txtHostname->setMaxLength(HostNameLength);
  txtPassword = new QLineEdit(this);
  txtPassword->setGeometry(112, 92, 137, 21);
  txtPassword->setMaxLength(PasswordLength);
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
  lblPassword = MakeLabel(this, "Device Password", 24, 92);

  connect(chkDHCP, &QCheckBox::clicked, this, Guarded([this] { chkDHCPClick(); }));
  connect(btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, Guarded([this] { btnCancelClick(); }));

  // Filling runs once the dialog is on screen, from its own event loop: an
  // address the edits refuse then reaches the general error report with the
  // dialog up.
  FActivateTimer = new QTimer(this);
  FActivateTimer->setSingleShot(true);
  FActivateTimer->setInterval(0);
  connect(FActivateTimer, &QTimer::timeout, this, Guarded([this] {
            if (isVisible()) {
              FormActivate();
              emit Activated();
            }
          }));

  CenterOnScreen(this);
  FormCreate();
}

bool TfrmProperties::ShowModalOk() { return exec() != QDialog::Rejected; }

void TfrmProperties::FormCreate() { Translate(); }

void TfrmProperties::Translate() {
  btnOk->setText(FromAnsi("&Ok"));
  btnCancel->setText(FromAnsi("&Cancelar"));
  SetCaption(lblDevice, "Dispositivo");
  SetCaption(lblVersion, "Versi\xF3n Firmware");
  SetCaption(lblPassword, "Clave de acceso");
  chkDHCP->setText(FromAnsi("Habilitar DHCP"));
  SetCaption(lblHostName, "Nombre del Host");
  // A screen reader names each field by the caption beside it.
  for (const auto& [field, label] : {std::pair<QWidget*, QLabel*>{stDevice, lblDevice},
                                     {stMAC, lblMAC},
                                     {stVersion, lblVersion},
                                     {txtPassword, lblPassword},
                                     {txtHostname, lblHostName}}) {
    field->setAccessibleName(label->text());
  }
  txtIP->SetAccessibleCaption(QString::fromUtf8("Direcci\u00f3n IP"));
  txtNetmask->SetAccessibleCaption(lblNetmask->text());
  txtGateway->SetAccessibleCaption(lblGateway->text());
}

void TfrmProperties::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FActivateTimer->start();
  }
}

void TfrmProperties::FormActivate() {
  stDevice->setText(FromAnsi(DeviceName));
  stMAC->setText(FromAnsi(MAC));
  stVersion->setText(FromAnsi(Version));
  chkDHCP->setChecked(DHCP);
  // Each may throw; the rest of the filling then does not run.
  txtIP->SetText(IP);
  txtNetmask->SetText(Netmask);
  txtGateway->SetText(Gateway);
  // A longer host name from the device is shown whole: cutting it to the
  // box's limit would send a different name back on OK.
  const QString hostName = FromAnsi(HostName);
  txtHostname->setMaxLength(std::max(HostNameLength, static_cast<int>(hostName.size())));
  txtHostname->setText(hostName);
  txtHostname->setEnabled(HostNameEnabled);
  lblHostName->setEnabled(HostNameEnabled);
  if (!HostNameEnabled) {
    txtHostname->clear();
  }
  chkDHCPClick();
  txtPassword->setFocus();
  txtPassword->clear();
}

void TfrmProperties::chkDHCPClick() {
  const bool manual = !chkDHCP->isChecked();
  for (QWidget* control : {static_cast<QWidget*>(txtIP), static_cast<QWidget*>(lblIP),
                           static_cast<QWidget*>(txtNetmask), static_cast<QWidget*>(lblNetmask),
                           static_cast<QWidget*>(txtGateway), static_cast<QWidget*>(lblGateway)}) {
    control->setEnabled(manual);
  }
}

bool TfrmProperties::IsValidData(AnsiString& message) {
  message.clear();
  if (!chkDHCP->isChecked() && !AreConfigAddressesSendable(
                                   txtIP->Text(), [this] { return txtGateway->Text(); }, message)) {
    return false;
  }
  return IsValidText(message);
}

// The host name and the password go into the configuration request as they
// are; the same rule guards every other way of building one.
bool TfrmProperties::IsValidText(AnsiString& message) {
  const ConfigEntry hostName = Typed(txtHostname);
  return AreConfigEntriesSendable(Typed(txtPassword),
                                  txtHostname->isEnabled() ? &hostName : nullptr, message);
}

void TfrmProperties::btnOkClick() {
  AnsiString message;
  if (!IsValidData(message)) {
    ShowProgramMessage(this, message);
    return;
  }
  DHCP = chkDHCP->isChecked();
  IP = txtIP->Text();
  Netmask = txtNetmask->Text();
  Gateway = txtGateway->Text();
  Password = ToAnsi(txtPassword->text());
  HostName = ToAnsi(txtHostname->text());
  accept();
}

void TfrmProperties::btnCancelClick() { reject(); }

}  // namespace tb
