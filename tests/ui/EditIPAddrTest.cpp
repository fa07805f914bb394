// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <array>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/EditIPAddr.h"

namespace tb {
namespace {

using test::Press;
using test::Stroke;
using test::Typed;

constexpr int kEnd = -1;        // caret after the last character
constexpr int kSelectAll = -2;  // the cell's whole text selected

constexpr const char* kEmptyAddressError =
    "IPAddress must include 4 pieces of length 1..3. IPAddressString[]";

// The control between two ordinary edits in a dialog with a default button.
class EditIPAddrTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.resize(200, 120);
    before->setGeometry(10, 10, 100, 21);
    edit->move(10, 40);
    after->setGeometry(10, 70, 100, 21);
    ok->move(120, 70);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &host, &QDialog::accept);
    test::ShowActive(&host);
  }

  void StartIn(int cell, int caret) {
    QLineEdit* c = edit->Cell(cell);
    c->setFocus(Qt::OtherFocusReason);
    if (caret == kSelectAll) {
      c->selectAll();
    } else {
      c->setCursorPosition(caret == kEnd ? static_cast<int>(c->text().size()) : caret);
    }
  }

  [[nodiscard]] std::array<std::string, 4> Cells() const {
    std::array<std::string, 4> cells;
    for (int i = 0; i < 4; ++i) {
      cells.at(static_cast<std::size_t>(i)) = edit->Cell(i)->text().toStdString();
    }
    return cells;
  }

  [[nodiscard]] int FocusedCell() const {
    for (int i = 0; i < 4; ++i) {
      if (edit->Cell(i)->hasFocus()) {
        return i;
      }
    }
    return -1;
  }

  QDialog host;
  QLineEdit* before = new QLineEdit(&host);
  TEditIPAddr* edit = new TEditIPAddr(&host);
  QLineEdit* after = new QLineEdit(&host);
  QPushButton* ok = new QPushButton(QStringLiteral("OK"), &host);
};

struct TypingCase {
  const char* name;
  const char* initial;
  int startCell;
  int startCaret;
  std::vector<Stroke> strokes;
  std::array<std::string, 4> cells;
  int focusCell;
  int caret;             // where the caret ends, when nothing is selected
  const char* selected;  // the focused cell's selected text
};

TEST_F(EditIPAddrTest, KeyRules) {
  const auto keypad = Qt::KeypadModifier;
  const std::vector<TypingCase> cases = {
      {"address typed into a fresh control",
       "",
       0,
       0,
       Typed("192.168.0.1"),
       {"192", "168", "0", "1"},
       3,
       1,
       ""},
      {"third digit moves on", "", 0, 0, Typed("192"), {"192", "", "", ""}, 1, 0, ""},
      {"256 becomes 255, selected", "", 0, 0, Typed("256"), {"255", "", "", ""}, 0, 0, "255"},
      {"third digit in the last cell stays", "", 3, 0, Typed("123"), {"", "", "", "123"}, 3, 3, ""},
      {"above 255 in the last cell", "", 3, 0, Typed("300"), {"", "", "", "255"}, 3, 0, "255"},
      {"typing replaces the selection",
       "192.168.0.1",
       0,
       kSelectAll,
       Typed("10"),
       {"10", "168", "0", "1"},
       0,
       2,
       ""},
      {"'.' and Space in an empty cell do nothing",
       "",
       0,
       0,
       Typed(". "),
       {"", "", "", ""},
       0,
       0,
       ""},
      {"'.' in the last cell does nothing",
       "1.2.3.4",
       3,
       1,
       Typed("."),
       {"1", "2", "3", "4"},
       3,
       1,
       ""},
      {"'.' at the start of cell 1 selects cell 2",
       "192.168.0.1",
       1,
       0,
       Typed("."),
       {"192", "168", "0", "1"},
       2,
       0,
       "0"},
      {"Space inside cell 1 selects cell 2",
       "192.168.10.1",
       1,
       2,
       Typed(" "),
       {"192", "168", "10", "1"},
       2,
       0,
       "10"},
      {"Backspace at the start of cell 2 shortens cell 1",
       "192.168.0.1",
       2,
       0,
       {{Qt::Key_Backspace}},
       {"192", "16", "0", "1"},
       1,
       2,
       ""},
      {"Backspace at the start of cell 1 into an empty cell 0",
       "",
       1,
       0,
       {{Qt::Key_Backspace}},
       {"", "", "", ""},
       0,
       0,
       ""},
      {"Backspace at the start of cell 0 does nothing",
       "192.168.0.1",
       0,
       0,
       {{Qt::Key_Backspace}},
       {"192", "168", "0", "1"},
       0,
       0,
       ""},
      {"Backspace inside a cell deletes",
       "192.168.0.1",
       1,
       2,
       {{Qt::Key_Backspace}},
       {"192", "18", "0", "1"},
       1,
       1,
       ""},
      {"Delete deletes",
       "192.168.0.1",
       0,
       0,
       {{Qt::Key_Delete}},
       {"92", "168", "0", "1"},
       0,
       0,
       ""},
      {"Left at the start of cell 0 stays",
       "192.168.0.1",
       0,
       0,
       {{Qt::Key_Left}},
       {"192", "168", "0", "1"},
       0,
       0,
       ""},
      {"Left at the start of cell 2 goes to the end of cell 1",
       "192.168.0.1",
       2,
       0,
       {{Qt::Key_Left}},
       {"192", "168", "0", "1"},
       1,
       3,
       ""},
      {"Right at the end of cell 3 stays",
       "192.168.0.1",
       3,
       kEnd,
       {{Qt::Key_Right}},
       {"192", "168", "0", "1"},
       3,
       1,
       ""},
      {"Right in an empty cell 1 moves on",
       "",
       1,
       0,
       {{Qt::Key_Right}},
       {"", "", "", ""},
       2,
       0,
       ""},
      {"Right inside a cell moves the caret only",
       "192.168.0.1",
       0,
       1,
       {{Qt::Key_Right}},
       {"192", "168", "0", "1"},
       0,
       2,
       ""},
      {"letters, Space, shifted digits and Ctrl+Z change nothing",
       "",
       0,
       0,
       {{Qt::Key_A},
        {Qt::Key_Space},
        {Qt::Key_1, Qt::ShiftModifier},
        {Qt::Key_Exclam, Qt::ShiftModifier},
        {Qt::Key_Minus},
        {Qt::Key_Z, Qt::ControlModifier}},
       {"", "", "", ""},
       0,
       0,
       ""},
      {"a digit after a refused key types",
       "",
       0,
       0,
       {{Qt::Key_A}, {Qt::Key_5}},
       {"5", "", "", ""},
       0,
       1,
       ""},
      {"End still moves the caret",
       "192.168.0.1",
       1,
       0,
       {{Qt::Key_End}},
       {"192", "168", "0", "1"},
       1,
       3,
       ""},
      {"keypad digits and decimal point",
       "",
       0,
       0,
       {{Qt::Key_1, keypad}, {Qt::Key_0, keypad}, {Qt::Key_Period, keypad}, {Qt::Key_5, keypad}},
       {"10", "5", "", ""},
       1,
       1,
       ""},
      {"keypad decimal comma counts as the point",
       "",
       0,
       0,
       {{Qt::Key_7, keypad}, {Qt::Key_Comma, keypad}, {Qt::Key_8, keypad}},
       {"7", "8", "", ""},
       1,
       1,
       ""},
      {"Shift and Ctrl alone change nothing",
       "192.168.0.1",
       1,
       1,
       {{Qt::Key_Shift, Qt::ShiftModifier}, {Qt::Key_Control, Qt::ControlModifier}},
       {"192", "168", "0", "1"},
       1,
       1,
       ""},
  };
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.name);
    edit->SetText("");
    edit->SetText(c.initial);
    StartIn(c.startCell, c.startCaret);
    Press(c.strokes);
    EXPECT_EQ(Cells(), c.cells);
    ASSERT_EQ(FocusedCell(), c.focusCell);
    const QLineEdit* focused = edit->Cell(c.focusCell);
    EXPECT_EQ(focused->selectedText().toStdString(), c.selected);
    if (std::string(c.selected).empty()) {
      EXPECT_EQ(focused->cursorPosition(), c.caret);
    }
  }
}

TEST_F(EditIPAddrTest, ClipboardNeverPutsNonDigitsIntoACell) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  struct Case {
    const char* clipboard;
    bool byContextMenu;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"abc", false, "1"}, {"12", false, "1"},  // Ctrl+V is a filtered stroke
      {"ab", true, "1"},   {"1a", true, "1"},  {"2", true, "21"}, {"99", true, "255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.clipboard) + (c.byContextMenu ? " by menu" : " by Ctrl+V"));
    edit->SetText("1.2.3.4");
    StartIn(0, 0);
    clipboard->setText(QString::fromLatin1(c.clipboard));
    if (c.byContextMenu) {
      edit->Cell(0)->paste();  // what the cell's context menu runs
    } else {
      Press(Qt::Key_V, Qt::ControlModifier);
    }
    EXPECT_EQ(edit->Cell(0)->text().toStdString(), c.expected);
  }
}

TEST_F(EditIPAddrTest, TextWriteFillsCellsAndSelectsCellZeroWithoutTakingTheFocus) {
  before->setFocus();
  edit->SetText("10.0.0.254");
  EXPECT_EQ(Cells(), (std::array<std::string, 4>{"10", "0", "0", "254"}));
  EXPECT_EQ(edit->Cell(0)->selectedText(), QStringLiteral("10"));
  EXPECT_TRUE(before->hasFocus());
  EXPECT_EQ(edit->Text(), "10.0.0.254");

  edit->SetText("");
  EXPECT_EQ(Cells(), (std::array<std::string, 4>{"", "", "", ""}));
  EXPECT_EQ(edit->Text(), "");
  EXPECT_EQ(Cells(), (std::array<std::string, 4>{"", "", "", ""}));
}

TEST_F(EditIPAddrTest, InvalidTextWriteThrowsAndKeepsTheCells) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"1.2.3", "IPAddress must include 4 pieces of length 1..3. IPAddressString[1.2.3]"},
      {"01.2.3.4", "Leading zero not allowed. IPAddressString[01.2.3.4]"},
      {"256.1.1.1", "Triplets must be of range 0..255  IPAddressString[256.1.1.1]"},
      {"a.b.c.d", "IP Address contains illegal symbols. IPAddressString[a.b.c.d]"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    edit->SetText("192.168.0.1");
    try {
      edit->SetText(text);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& error) {
      EXPECT_EQ(error.Message(), message);
    }
    EXPECT_EQ(Cells(), (std::array<std::string, 4>{"192", "168", "0", "1"}));
  }
}

TEST_F(EditIPAddrTest, TextReadRewritesTheCells) {
  struct Case {
    const char* typed;  // keys from cell 0; ' ' moves on
    bool acceptOctal;
    const char* text;
    std::array<std::string, 4> cells;
  };
  const std::vector<Case> cases = {
      {"1", false, "1.0.0.0", {"1", "0", "0", "0"}},
      {"00700 10", false, "7.0.10.0", {"7", "0", "10", "0"}},
      {"00700 10", true, "007.00.10.0", {"007", "00", "10", "0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    edit->SetText("");
    edit->SetAcceptOctal(c.acceptOctal);
    StartIn(0, 0);
    Press(Typed(c.typed));
    EXPECT_EQ(edit->Text(), c.text);
    EXPECT_EQ(Cells(), c.cells);
  }
}

TEST_F(EditIPAddrTest, IsHostAddress) {
  const std::vector<std::pair<const char*, bool>> cases = {
      {"192.168.0.1", true}, {"224.0.0.1", true}, {"239.1.1.1", true},   {"241.1.1.1", true},
      {"10.255.0.1", true},  {"0.1.2.3", false},  {"127.0.0.1", false},  {"240.1.1.1", false},
      {"255.1.1.1", false},  {"10.0.0.0", false}, {"10.0.0.255", false},
  };
  for (const auto& [address, host] : cases) {
    SCOPED_TRACE(address);
    edit->SetText(address);
    EXPECT_EQ(edit->IsHostAddress(), host);
  }
}

TEST_F(EditIPAddrTest, IsHostAddressThrowsForEmptyCellsAndOctalLeadingZero) {
  edit->SetText("");
  try {
    edit->IsHostAddress();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), kEmptyAddressError);
  }

  edit->SetAcceptOctal(true);
  StartIn(0, 0);
  Press(Typed("0101 1 1"));
  EXPECT_THROW(edit->IsHostAddress(), Exception);
}

TEST_F(EditIPAddrTest, EnterEscapeAndTabReachTheWindow) {
  edit->SetText("1.2.3.4");
  StartIn(2, 1);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(after->hasFocus()) << "Tab leaves the control from any cell";
  EXPECT_EQ(edit->Cell(0)->selectedText(), QStringLiteral("1")) << "leaving selects cell 0";

  before->setFocus();
  Press(Qt::Key_Tab);
  EXPECT_EQ(FocusedCell(), 0) << "Tab enters at cell 0";
  EXPECT_EQ(edit->Cell(0)->selectedText(), QStringLiteral("1"));
  EXPECT_EQ(Cells(), (std::array<std::string, 4>{"1", "2", "3", "4"}));

  StartIn(1, 0);
  Press(Qt::Key_Return);
  EXPECT_EQ(host.result(), QDialog::Accepted) << "Enter presses the default button";
  EXPECT_FALSE(host.isVisible());

  test::ShowActive(&host);
  host.setResult(-1);
  StartIn(3, 0);
  Press(Qt::Key_Escape);
  EXPECT_EQ(host.result(), QDialog::Rejected) << "Escape cancels the window";
  EXPECT_EQ(Cells(), (std::array<std::string, 4>{"1", "2", "3", "4"}));
}

TEST_F(EditIPAddrTest, FocusRules) {
  edit->SetText("1.2.3.4");
  before->setFocus();
  edit->setFocus();
  EXPECT_EQ(FocusedCell(), 0) << "the control hands its focus to cell 0";
  EXPECT_EQ(edit->Cell(0)->selectedText(), QStringLiteral("1"));

  StartIn(0, 1);
  edit->Cell(2)->setFocus();
  EXPECT_FALSE(edit->Cell(0)->hasSelectedText()) << "moving between cells selects nothing";

  after->setFocus();
  EXPECT_EQ(edit->Cell(0)->selectedText(), QStringLiteral("1"));
}

TEST_F(EditIPAddrTest, ClicksOnDotsAndFrame) {
  edit->SetText("192.168.10.1");
  for (int dot = 0; dot < 3; ++dot) {
    SCOPED_TRACE(dot);
    before->setFocus();
    QTest::mouseClick(edit->Dot(dot), Qt::LeftButton, {}, QPoint(1, 5));
    ASSERT_EQ(FocusedCell(), dot) << "a dot focuses the cell on its left";
    EXPECT_EQ(edit->Cell(dot)->cursorPosition(), edit->Cell(dot)->text().size());
    EXPECT_FALSE(edit->Cell(dot)->hasSelectedText());
  }

  before->setFocus();
  QTest::mouseClick(edit->Frame(), Qt::LeftButton, {}, QPoint(edit->width() - 4, 10));
  ASSERT_EQ(FocusedCell(), 3) << "the empty part focuses the last cell";
  EXPECT_EQ(edit->Cell(3)->cursorPosition(), 1);
}

TEST_F(EditIPAddrTest, AStrokeThatHidesTheWindowLeavesNoCellReadOnly) {
  StartIn(0, 0);
  // Alt goes down in the cell (as for Alt+O on a default button that closes
  // the window); its release goes to whatever window comes next.
  QTest::keyPress(edit->Cell(0), Qt::Key_Alt, Qt::AltModifier);
  ASSERT_TRUE(edit->Cell(0)->isReadOnly());
  host.hide();
  EXPECT_FALSE(edit->Cell(0)->isReadOnly());
}

TEST_F(EditIPAddrTest, DisabledControlTakesNoInput) {
  edit->SetText("1.2.3.4");
  edit->setEnabled(false);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(edit->Cell(i)->isEnabled());
  }
  EXPECT_EQ(edit->Text(), "1.2.3.4") << "a disabled control keeps its value";
}

}  // namespace
}  // namespace tb
