// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FormStyle.h"

#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "ui/DialogFontFaces.h"

namespace tb {

namespace {

constexpr int kDialogFontPixels = 11;

}  // namespace

Qt::WindowFlags DialogWindowFlags() {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

QFont DialogFont() {
  QFont font;
  font.setFamilies(DialogFontFaces());
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kDialogFontPixels);
  return font;
}

void ApplyFormStyle(QWidget* form, int clientWidth, int clientHeight) {
  form->setFont(DialogFont());
  QPalette palette = form->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  form->setPalette(palette);
  form->setAutoFillBackground(true);
  form->setFixedSize(clientWidth, clientHeight);
}

void CenterOnScreen(QWidget* form) {
  const QScreen* screen = form->screen();
  if (screen == nullptr) {
    screen = QGuiApplication::primaryScreen();
  }
  if (screen == nullptr) {
    return;
  }
  QRect frame = form->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  form->move(frame.topLeft());
}

}  // namespace tb
