// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/About.h"
#include "ui/ErrorGuard.h"

#include <QLabel>
#include <QPushButton>

#include "core/Latin1.h"
#include "ui/FormStyle.h"

namespace tb {

namespace {

constexpr int kClientWidth = 183;
constexpr int kClientHeight = 141;
// Every line and the button stand centred on this column.
constexpr int kCentre = 91;

void PlaceCentred(QWidget* control, int top) { control->move(kCentre - control->width() / 2, top); }

QLabel* MakeLine(QWidget* parent, const char* text, int top) {
  auto* label = new QLabel(FromAnsi(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->adjustSize();
  PlaceCentred(label, top);
  return label;
}

}  // namespace

TfrmAbout::TfrmAbout(QWidget* owner) : QDialog(owner, DialogWindowFlags()) {
  setWindowTitle(QStringLiteral("Brelvan"));
  ApplyFormStyle(this, kClientWidth, kClientHeight);

  lblName = new QLabel(FromAnsi("Tarnwick Brelvan"), this);
  QFont bold = lblName->font();
  bold.setBold(true);
  lblName->setFont(bold);
  lblName->adjustSize();
  PlaceCentred(lblName, 8);
  lblVersion = MakeLine(this, "Version 4.0.1", 24);
  lblCopyright = MakeLine(this, "\xA9 2024 Tarnwick Networks", 64);
  lblSlogan = MakeLine(this, "Your devices, found and set up", 48);
  lblURL = MakeLine(this, "www.tarnwick.example", 85);
  // Blue like a web address, but plain text: a click does nothing.
  QPalette blue = lblURL->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  lblURL->setPalette(blue);

  btnOk = new QPushButton(FromAnsi("&Ok"), this);
  btnOk->resize(75, 25);
  PlaceCentred(btnOk, 108);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));

  CenterOnScreen(this);
}

void TfrmAbout::btnOkClick() { accept(); }

}  // namespace tb
