// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "tests/ui/UiTestSupport.h"
#include "ui/About.h"
#include "ui/InfoMsg.h"

namespace tb {
namespace {

// Remembers the text that the label showed each time it was painted.
class PaintProbe : public QObject {
 public:
  explicit PaintProbe(QLabel* label) { label->installEventFilter(this); }
  std::vector<QString> painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      painted.push_back(static_cast<QLabel*>(watched)->text());
    }
    return false;
  }
};

TEST(InfoMessageTest, WindowHasNoTitleBarButtonsAndStaysOnTop) {
  QWidget owner;
  TInfoMessage info(&owner);
  const Qt::WindowFlags flags = info.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
  for (const Qt::WindowType button :
       {Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
        Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint}) {
    EXPECT_FALSE(flags.testFlag(button)) << button;
  }
  EXPECT_EQ(info.windowTitle(), QStringLiteral("Information"));
  EXPECT_FALSE(info.isVisible()) << "hidden at creation";
  EXPECT_TRUE(info.lblInfo->text().isEmpty());
}

TEST(InfoMessageTest, EachShowingPaintsTheLatestTextBeforeReturning) {
  QWidget owner;
  TInfoMessage info(&owner);
  PaintProbe probe(info.lblInfo);
  const std::vector<std::pair<std::string, QString>> notices = {
      {"Obteniendo datos de los dispositivos en la red...",
       QStringLiteral("Obteniendo datos de los dispositivos en la red...")},
      {"Actualizando configuraci\xF3n en el dispositivo...",
       QString::fromUtf8("Actualizando configuración en el dispositivo...")},
  };
  for (const auto& [text, shown] : notices) {
    SCOPED_TRACE(text);
    probe.painted.clear();
    info.MessageText = text;
    info.Show();
    // No event processing in between: the paint happened inside Show.
    ASSERT_FALSE(probe.painted.empty());
    EXPECT_EQ(probe.painted.back(), shown);
    EXPECT_EQ(info.lblInfo->text(), shown);
    // A screen reader hears the notice itself, as a status message.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&info);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::StatusBar);
    EXPECT_EQ(accessible->text(QAccessible::Name), shown);
    EXPECT_TRUE(info.isVisible());
    EXPECT_FALSE(info.isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    info.Close();
    EXPECT_FALSE(info.isVisible());
  }
}

TEST(AboutTest, EnterEscapeAndOkCloseIt) {
  TfrmAbout about;
  const std::vector<std::pair<const char*, std::function<void()>>> closers = {
      {"Enter", [] { test::Press(Qt::Key_Return); }},
      {"Esc", [] { test::Press(Qt::Key_Escape); }},
      {"OK", [&] { QTest::mouseClick(about.btnOk, Qt::LeftButton); }},
  };
  for (const auto& [name, close] : closers) {
    SCOPED_TRACE(name);
    test::ShowActive(&about);
    close();
    EXPECT_FALSE(about.isVisible());
  }
}

TEST(AboutTest, TextsAndLooks) {
  TfrmAbout about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("Brelvan"));
  EXPECT_EQ(about.lblName->text(), QStringLiteral("Tarnwick Brelvan"));
  EXPECT_TRUE(about.lblName->font().bold());
  EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Version 4.0.1"));
  EXPECT_EQ(about.btnOk->text(), QStringLiteral("&Ok"));
  for (const QLabel* line : {about.lblSlogan, about.lblCopyright, about.lblURL}) {
    EXPECT_FALSE(line->text().isEmpty());
  }
  EXPECT_EQ(about.lblURL->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_FALSE(about.lblURL->openExternalLinks());
  EXPECT_EQ(about.lblURL->textFormat(), Qt::PlainText) << "a web address, not a link";
}

}  // namespace
}  // namespace tb
