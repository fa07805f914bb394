// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EditIPAddr.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

#include "core/IPAddressChecks.h"
#include "core/Latin1.h"
#include "ui/IPCell.h"

namespace tb {

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 21;
constexpr int kCellWidth = 21;
constexpr int kDotWidth = 3;
constexpr int kLastCell = TEditIPAddr::kCellCount - 1;
constexpr int kMaxOctet = 255;

bool IsDigitKey(int key) { return key >= Qt::Key_0 && key <= Qt::Key_9; }

// The keypad's decimal point is the '.' key; some layouts send it as a comma.
int NormalisedKey(const QKeyEvent& event) {
  if (event.modifiers().testFlag(Qt::KeypadModifier) && event.key() == Qt::Key_Comma) {
    return Qt::Key_Period;
  }
  return event.key();
}

int Caret(const QLineEdit& cell) {
  return cell.hasSelectedText() ? cell.selectionStart() : cell.cursorPosition();
}

bool IsClick(const QEvent& event) {
  return event.type() == QEvent::MouseButtonRelease &&
         static_cast<const QMouseEvent&>(event).button() == Qt::LeftButton;
}

bool IsMouseButtonEvent(const QEvent& event) {
  return event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonRelease ||
         event.type() == QEvent::MouseButtonDblClick;
}

}  // namespace

TEditIPAddr::TEditIPAddr(QWidget* owner) : QWidget(owner), FFrame(new QFrame(this)) {
  setFocusPolicy(Qt::NoFocus);
  FFrame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  FFrame->setBackgroundRole(QPalette::Base);
  FFrame->setAutoFillBackground(true);
  FFrame->setCursor(Qt::IBeamCursor);
  FFrame->installEventFilter(this);

  // Created left to right, so that the focus chain runs through the cells
  // in order; only cell 0 takes the focus by Tab.
  for (int i = 0; i < kCellCount; ++i) {
    auto* cell = new TIPCell(i, FFrame);
    cell->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
    connect(cell, &TIPCell::KeyDown, this, &TEditIPAddr::CellKeyDown);
    connect(cell, &TIPCell::KeyUp, this, &TEditIPAddr::CellKeyUp);
    connect(cell, &TIPCell::Exit, this, &TEditIPAddr::FrameExit);
    connect(cell, &QLineEdit::textChanged, this, [this, cell] { CellChange(cell); });
    FCells.at(static_cast<std::size_t>(i)) = cell;
  }
  for (int i = 0; i < kDotCount; ++i) {
    auto* dot = new QLabel(QStringLiteral("."), FFrame);
    dot->setAlignment(Qt::AlignCenter);
    dot->setProperty("index", i);
    dot->installEventFilter(this);
    FDots.at(static_cast<std::size_t>(i)) = dot;
  }

  setMinimumWidth(kWidth);
  resize(kWidth, kHeight);
  LayOut();
}

QLineEdit* TEditIPAddr::Cell(int index) const { return FCells.at(static_cast<std::size_t>(index)); }

QLabel* TEditIPAddr::Dot(int index) const { return FDots.at(static_cast<std::size_t>(index)); }

AnsiString TEditIPAddr::Text() {
  if (std::all_of(FCells.begin(), FCells.end(),
                  [](const TIPCell* cell) { return cell->text().isEmpty(); })) {
    return {};
  }
  QStringList octets;
  for (int i = 0; i < kCellCount; ++i) {
    const QString text = Cell(i)->text();
    QString rewritten = text;
    if (text.isEmpty()) {
      rewritten = QStringLiteral("0");
    } else if (!FAcceptOctal) {
      rewritten = QString::number(text.toInt());
    }
    SetCellText(i, rewritten);
    octets << Cell(i)->text();
  }
  return ToAnsi(octets.join(QLatin1Char('.')));
}

void TEditIPAddr::SetText(const AnsiString& text) {
  if (text.empty()) {
    for (int i = 0; i < kCellCount; ++i) {
      SetCellText(i, QString());
    }
    return;
  }
  ValidateIPAddress(text);
  for (int i = 0; i < kCellCount; ++i) {
    SetCellText(i, QString::number(GetIPOctet(text, static_cast<std::uint8_t>(i + 1))));
  }
  Cell(0)->selectAll();
}

bool TEditIPAddr::IsHostAddress() { return tb::IsHostAddress(Text()); }

void TEditIPAddr::focusInEvent(QFocusEvent* event) {
  Cell(0)->setFocus(event->reason());
  Cell(0)->selectAll();
}

void TEditIPAddr::hideEvent(QHideEvent* event) {
  // A stroke that closes the window (Alt+O on the default button) leaves its
  // key release to another window; the cell must not stay read-only for the
  // next showing.
  CellKeyUp();
  QWidget::hideEvent(event);
}

void TEditIPAddr::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOut();
}

bool TEditIPAddr::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FFrame) {
    if (IsClick(*event)) {
      FrameClick();
    }
    return false;
  }
  if (IsMouseButtonEvent(*event)) {
    // A dot takes its clicks: left to the label they would reach the frame.
    if (IsClick(*event)) {
      DotClick(watched->property("index").toInt());
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TEditIPAddr::CellKeyDown(TIPCell* cell, QKeyEvent* event) {
  const int key = NormalisedKey(*event);
  if (key == Qt::Key_Shift || key == Qt::Key_Control) {
    return;
  }

  const int c = cell->Index();
  const int caret = Caret(*cell);
  switch (key) {
    case Qt::Key_Right:
      if (c < kLastCell && caret == cell->text().size()) {
        FocusCellAt(c + 1, 0);
      }
      break;
    case Qt::Key_Left:
      if (c > 0 && caret == 0) {
        FocusCellAt(c - 1, static_cast<int>(Cell(c - 1)->text().size()));
      }
      break;
    case Qt::Key_Backspace:
      if (c > 0 && caret == 0) {
        QLineEdit* previous = Cell(c - 1);
        previous->setFocus(Qt::OtherFocusReason);
        if (!previous->text().isEmpty()) {
          SetCellText(c - 1, previous->text().chopped(1));
        }
        previous->setCursorPosition(static_cast<int>(previous->text().size()));
      }
      break;
    case Qt::Key_Period:
    case Qt::Key_Space:
      if (c < kLastCell && !cell->text().isEmpty()) {
        Cell(c + 1)->setFocus(Qt::OtherFocusReason);
        Cell(c + 1)->selectAll();
      }
      break;
    default:
      break;
  }

  const bool modifierHeld =
      (event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)) != 0;
  const bool editKey = IsDigitKey(key) || key == Qt::Key_Backspace || key == Qt::Key_Delete;
  if (modifierHeld || !editKey) {
    cell->setReadOnly(true);
  }
}

void TEditIPAddr::CellKeyUp() {
  for (TIPCell* cell : FCells) {
    cell->setReadOnly(false);
  }
}

void TEditIPAddr::SetAccessibleCaption(const QString& caption) {
  FAccessibleCaption = caption;
  for (int i = 0; i < kCellCount; ++i) {
    Cell(i)->setAccessibleName(caption + QStringLiteral(", octeto %1").arg(i + 1));
  }
  UpdateAccessibleName();
}

// Read from the cells as they stand: Text() would rewrite them.
void TEditIPAddr::UpdateAccessibleName() {
  if (FAccessibleCaption.isEmpty()) {
    return;
  }
  QStringList octets;
  bool any = false;
  for (int i = 0; i < kCellCount; ++i) {
    octets.append(Cell(i)->text());
    any = any || !octets.back().isEmpty();
  }
  setAccessibleName(any ? FAccessibleCaption + u' ' + octets.join(u'.') : FAccessibleCaption);
}

void TEditIPAddr::CellChange(TIPCell* cell) {
  UpdateAccessibleName();
  const int c = cell->Index();
  const QString text = cell->text();
  if (!text.isEmpty() && text.toInt() > kMaxOctet) {
    SetCellText(c, QString::number(kMaxOctet));
    cell->selectAll();
    return;
  }
  if (c < kLastCell && text.size() == 3 && cell->cursorPosition() == 3) {
    FocusCellAt(c + 1, 0);
  }
}

void TEditIPAddr::FrameExit() {
  const QWidget* now = QApplication::focusWidget();
  if (now == nullptr || !isAncestorOf(now)) {
    Cell(0)->selectAll();
  }
}

void TEditIPAddr::FrameClick() {
  FocusCellAt(kLastCell, static_cast<int>(Cell(kLastCell)->text().size()));
}

void TEditIPAddr::DotClick(int index) {
  FocusCellAt(index, static_cast<int>(Cell(index)->text().size()));
}

void TEditIPAddr::SetCellText(int index, const QString& text) {
  TIPCell* cell = FCells.at(static_cast<std::size_t>(index));
  if (cell->text() == text) {
    return;
  }
  {
    // The line edit would leave the caret at the end; the change rule must
    // see it at 0, as for every text the program sets, so that a third
    // digit set here never moves the focus.
    const QSignalBlocker blocker(cell);
    cell->setText(text);
    cell->setCursorPosition(0);
  }
  CellChange(cell);
}

void TEditIPAddr::FocusCellAt(int index, int caret) {
  QLineEdit* cell = Cell(index);
  cell->setFocus(Qt::OtherFocusReason);
  cell->setCursorPosition(caret);
}

void TEditIPAddr::LayOut() {
  FFrame->setGeometry(rect());
  const QRect inside = FFrame->contentsRect();
  constexpr int kPitch = kCellWidth + kDotWidth;
  for (int i = 0; i < kCellCount; ++i) {
    Cell(i)->setGeometry(inside.left() + i * kPitch, inside.top(), kCellWidth, inside.height());
  }
  for (int i = 0; i < kDotCount; ++i) {
    Dot(i)->setGeometry(inside.left() + i * kPitch + kCellWidth, inside.top(), kDotWidth,
                        inside.height());
  }
}

}  // namespace tb
