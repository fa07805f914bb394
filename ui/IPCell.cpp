// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IPCell.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace tb {

namespace {

// Keys that belong to the window, not to the cell: default and cancel
// buttons and the focus chain.
bool IsWindowKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
         key == Qt::Key_Tab || key == Qt::Key_Backtab;
}

}  // namespace

TIPCell::TIPCell(int index, QWidget* parent) : QLineEdit(parent), FIndex(index) {
  setFrame(false);
  setAlignment(Qt::AlignCenter);
  setMaxLength(3);
  // The key filter stops typed non-digits; the validator also stops those
  // that arrive by the context menu's paste, drag and drop or an input method.
  setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this));
  // Three digits of the dialog font need the whole 21 pixels: give back the
  // line edit's built-in side margins.
  setTextMargins(-2, 0, -2, 0);
}

void TIPCell::keyPressEvent(QKeyEvent* event) {
  if (!IsWindowKey(event->key())) {
    emit KeyDown(this, event);
  }
  QLineEdit::keyPressEvent(event);
}

void TIPCell::keyReleaseEvent(QKeyEvent* event) {
  emit KeyUp(this);
  QLineEdit::keyReleaseEvent(event);
}

void TIPCell::focusOutEvent(QFocusEvent* event) {
  // First the line edit's own handling, which drops the selection; the
  // control may then select a cell again.
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
    emit Exit(this);
  }
}

}  // namespace tb
