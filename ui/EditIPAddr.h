// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>

#include "common/AnsiString.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;

namespace tb {

class TIPCell;

// Edit control for one dotted IPv4 address: four number cells and three
// dots in a frame that looks like one text box.
class TEditIPAddr : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kCellCount = 4;
  static constexpr int kDotCount = 3;

  explicit TEditIPAddr(QWidget* owner = nullptr);

  // The address as dotted text, or empty when all cells are empty. Reading
  // rewrites the cells: empty ones become "0", and unless AcceptOctal is set
  // leading zeros go.
  AnsiString Text();
  // Empty text clears the cells; any other must be a valid address, or the
  // address check's tb::Exception reaches the caller and no cell changes.
  void SetText(const AnsiString& text);

  [[nodiscard]] bool AcceptOctal() const { return FAcceptOctal; }
  void SetAcceptOctal(bool accept) { FAcceptOctal = accept; }

  // False for first octet 0, 127, 240 or 255 and last octet 0 or 255.
  // Throws the address check's error when Text is no valid address.
  bool IsHostAddress();

  // What a screen reader calls the control: `caption` and the address as the
  // cells show it ("Dirección IP 10.78.0.21"), kept up to date; each cell is
  // `caption` and its octet's place.
  void SetAccessibleCaption(const QString& caption);

  [[nodiscard]] QLineEdit* Cell(int index) const;
  [[nodiscard]] QLabel* Dot(int index) const;
  [[nodiscard]] QFrame* Frame() const { return FFrame; }

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CellKeyDown(TIPCell* cell, QKeyEvent* event);
  void CellKeyUp();
  void CellChange(TIPCell* cell);
  void FrameExit();
  void FrameClick();
  void DotClick(int index);

  void SetCellText(int index, const QString& text);
  void FocusCellAt(int index, int caret);
  void LayOut();

  bool FAcceptOctal = false;
  QString FAccessibleCaption;
  void UpdateAccessibleName();
  std::array<TIPCell*, kCellCount> FCells{};
  std::array<QLabel*, kDotCount> FDots{};
  QFrame* FFrame = nullptr;
};

}  // namespace tb
