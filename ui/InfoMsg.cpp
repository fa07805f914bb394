// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/InfoMsg.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QWindow>

#include "core/Latin1.h"
#include "ui/FormStyle.h"

namespace tb {

namespace {

constexpr int kClientWidth = 320;
constexpr int kClientHeight = 50;
// Bounds the wait for the window system to map a new window.
constexpr int kExposeWaitMs = 500;

// A screen reader announces a status bar's changes as they come, and its name
// is what it reads; a plain window's name would only be its title.
QAccessibleInterface* StatusAccessible(const QString& key, QObject* object) {
  auto* info = qobject_cast<TInfoMessage*>(object);
  if (info == nullptr || key != QLatin1String(TInfoMessage::staticMetaObject.className())) {
    return nullptr;
  }
  return new QAccessibleWidget(info, QAccessible::StatusBar);
}

}  // namespace

TInfoMessage::TInfoMessage(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint),
      lblInfo(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Information"));
  ApplyFormStyle(this, kClientWidth, kClientHeight);
  lblInfo->setTextFormat(Qt::PlainText);
  lblInfo->move(11, 16);
  CenterOnScreen(this);
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(StatusAccessible);
    return true;
  }();
  (void)factoryInstalled;
}

void TInfoMessage::Show() {
  show();
  raise();
  activateWindow();
  FormActivate();
}

void TInfoMessage::Close() { hide(); }

void TInfoMessage::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    FormActivate();
  }
}

void TInfoMessage::FormActivate() {
  const QString text = FromAnsi(MessageText);
  lblInfo->setText(text);
  lblInfo->adjustSize();
  if (accessibleName() != text) {
    setAccessibleName(text);
  }
  PaintNow();
}

void TInfoMessage::PaintNow() {
  if (FPainting) {
    return;
  }
  FPainting = true;
  // A window that the window system has not mapped yet cannot be painted; at
  // program start no event loop would map it before the first query ends.
  // User input waits, so no handler of the program runs in between.
  QElapsedTimer waited;
  waited.start();
  // WA_Mapped, not only isExposed(): right after a hide the window can still
  // count as exposed until the window system's news of the hide arrives.
  while (isVisible() && windowHandle() != nullptr &&
         (!testAttribute(Qt::WA_Mapped) || !windowHandle()->isExposed()) &&
         waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
  }
  repaint();
  FPainting = false;
}

}  // namespace tb
