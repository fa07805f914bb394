// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace tb {

// One number cell of the IP address edit: a borderless line edit that knows
// its index and hands its key strokes and focus loss to the control first.
class TIPCell : public QLineEdit {
  Q_OBJECT

 public:
  TIPCell(int index, QWidget* parent);

  [[nodiscard]] int Index() const { return FIndex; }

 signals:
  // Before the cell's own handling of the key, so that the control can make
  // the cell read-only for this stroke.
  void KeyDown(tb::TIPCell* cell, QKeyEvent* event);
  void KeyUp(tb::TIPCell* cell);
  // The focus went away inside the window (not by switching windows).
  void Exit(tb::TIPCell* cell);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int FIndex;
};

}  // namespace tb
