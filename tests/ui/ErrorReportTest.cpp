// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/ThreadSanitizerSync.h"
#include "core/Latin1.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ErrorGuard.h"
#include "ui/MessageBoxes.h"
#include "ui/ShellOpen.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace tb {
namespace {

void ReportLeaks(bool report) {
#if defined(__SANITIZE_ADDRESS__)
  if (report) {
    __lsan_enable();
  } else {
    __lsan_disable();
  }
#else
  static_cast<void>(report);
#endif
}

// Qt's widget code skips its clean-up when an error unwinds through it, so
// what it allocated on the way leaks; while this lives, that is not reported.
class QtUnwindLeaksIgnored {
 public:
  QtUnwindLeaksIgnored() { ReportLeaks(false); }
  QtUnwindLeaksIgnored(const QtUnwindLeaksIgnored&) = delete;
  QtUnwindLeaksIgnored& operator=(const QtUnwindLeaksIgnored&) = delete;
  ~QtUnwindLeaksIgnored() { ReportLeaks(true); }
};

TEST(ErrorReportTest, FullStopRule) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""},
      {"Abc", "Abc."},
      {"Ends in bracket]", "Ends in bracket]."},
      {"Done.", "Done."},
      {"Why!", "Why!"},  // '!' comes before '.'
      {"Dash-", "Dash-"},
      {"Slash/", "Slash/."},
      {"Caf\xE9", "Caf\xE9."},  // a Latin-1 letter is above '.', not a negative char
  };
  for (const auto& [message, shown] : cases) {
    EXPECT_EQ(ErrorReportText(message), shown) << message;
  }
}

TEST(ErrorReportTest, BoxesCarryCaptionIconAndLatinOneText) {
  test::MessageCatcher catcher;
  ShowProgramMessage(nullptr, "Configuraci\xF3n\r\nfinalizada");
  ShowErrorReport(nullptr, "Fallo en el \xEDndice");
  ASSERT_EQ(catcher.messages.size(), 2U);
  EXPECT_EQ(catcher.messages[0].caption, QStringLiteral("Brelvan"));
  EXPECT_EQ(catcher.messages[0].text, QString::fromUtf8("Configuración\r\nfinalizada"));
  EXPECT_FALSE(catcher.messages[0].errorIcon);
  EXPECT_EQ(catcher.messages[1].caption, QStringLiteral("Tarnwick Brelvan"));
  EXPECT_EQ(catcher.messages[1].text, QString::fromUtf8("Fallo en el índice."));
  EXPECT_TRUE(catcher.messages[1].errorIcon);
}

TEST(ErrorReportTest, ScreenReadersHearTheWholeTextOfABox) {
  const std::unique_ptr<QMessageBox> box =
      MakeMessageBox(nullptr, {QStringLiteral("Brelvan"),
                               QString::fromUtf8("Configuración\r\nfinalizada <b>1</b>"), false});
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box.get());
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Brelvan"));
  EXPECT_EQ(accessible->text(QAccessible::Description),
            QString::fromUtf8("Configuración\nfinalizada <b>1</b>"));
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(ErrorReportTest, GuardedHandlerReportsWhereTheErrorArises) {
  test::MessageCatcher catcher;
  QPushButton button(QStringLiteral("Go"));
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, Guarded([&] {
    if (++clicks < 3) {
      throw Exception("Invalid IP Address");
    }
  }));
  test::ShowActive(&button);
  for (int i = 0; i < 3; ++i) {
    QTest::mouseClick(&button, Qt::LeftButton);
  }
  EXPECT_EQ(clicks, 3);
  ASSERT_EQ(catcher.messages.size(), 2U);
  EXPECT_EQ(catcher.messages[1].text, QStringLiteral("Invalid IP Address."));
  EXPECT_EQ(catcher.messages[1].caption, QStringLiteral("Tarnwick Brelvan"));
  EXPECT_TRUE(catcher.messages[1].errorIcon);
}

// The last resort: an error that no handler stopped reaches the application.
TEST(ErrorReportTest, ErrorFromAClickHandlerIsReportedAndTheProgramGoesOn) {
  const QtUnwindLeaksIgnored unwinding;
  test::MessageCatcher catcher;
  QPushButton button(QStringLiteral("Go"));
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] {
    ++clicks;
    if (clicks == 1) {
      throw Exception("IPAddress must include 4 pieces of length 1..3. IPAddressString[]");
    }
    if (clicks == 2) {
      throw std::runtime_error("out of range");
    }
  });
  test::ShowActive(&button);
  for (int i = 0; i < 3; ++i) {
    QTest::mouseClick(&button, Qt::LeftButton);
  }
  EXPECT_EQ(clicks, 3) << "every click after a failed one is handled";
  ASSERT_EQ(catcher.messages.size(), 2U);
  EXPECT_EQ(catcher.messages[0].text,
            QStringLiteral("IPAddress must include 4 pieces of length 1..3. IPAddressString[]."));
  EXPECT_EQ(catcher.messages[0].caption, QStringLiteral("Tarnwick Brelvan"));
  EXPECT_TRUE(catcher.messages[0].errorIcon);
  EXPECT_EQ(catcher.messages[1].text, QStringLiteral("out of range."));
}

// Fails on every event that it is sent, as a handler on a worker thread may.
class Thrower : public QObject {
 protected:
  bool event(QEvent* event) override {
    MarkReceived(this);
    if (event->type() == QEvent::User) {
      throw Exception("Socket error");
    }
    return QObject::event(event);
  }
};

TEST(ErrorReportTest, ErrorOnAnotherThreadIsReportedOnTheGuiThread) {
  test::MessageCatcher catcher;
  QThread worker;
  Thrower onWorker;
  onWorker.moveToThread(&worker);
  worker.start();
  auto* failing = new QEvent(QEvent::User);
  MarkPosted(&onWorker);
  QCoreApplication::postEvent(&onWorker, failing);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !catcher.messages.empty(); }, 5000));
  worker.quit();
  worker.wait();
  ASSERT_EQ(catcher.messages.size(), 1U);
  EXPECT_EQ(catcher.messages[0].text, QStringLiteral("Socket error."));
}

TEST(Latin1Test, ConversionsBothWays) {
  EXPECT_EQ(FromAnsi("Versi\xF3n \xE9"), QString::fromUtf8("Versión é"));
  EXPECT_EQ(FromAnsi(std::string("a\0b", 3)).size(), 3) << "bytes after a NUL are kept";
  EXPECT_EQ(ToAnsi(QString::fromUtf8("niño")), "ni\xF1o");
  EXPECT_EQ(ToAnsi(QString::fromUtf8("ł€")), "??");
  EXPECT_TRUE(IsLatin1(QString::fromUtf8("ÿ")));
  EXPECT_FALSE(IsLatin1(QString::fromUtf8("Ā")));
  std::string all;
  for (int c = 1; c < 256; ++c) {
    all += static_cast<char>(c);
  }
  EXPECT_EQ(ToAnsi(FromAnsi(all)), all);
}

TEST(ShellOpenTest, TheSeamReceivesTheText) {
  std::vector<AnsiString> opened;
  const ShellOpenHandler previous =
      SetShellOpenHandler([&](const AnsiString& text) { opened.push_back(text); });
  ShellOpen(nullptr, "http:\\\\192.168.0.5");
  SetShellOpenHandler(previous);
  EXPECT_EQ(opened, std::vector<AnsiString>{"http:\\\\192.168.0.5"});
}

TEST(ShellOpenTest, WindowsShellTextBecomesAUrl) {
  EXPECT_EQ(ShellTextToUrl("http:\\\\192.168.0.5"), QUrl(QStringLiteral("http://192.168.0.5")));
  EXPECT_EQ(ShellTextToUrl("http://10.0.0.1"), QUrl(QStringLiteral("http://10.0.0.1")));
  // The window's own text, with one backslash.
  EXPECT_EQ(ShellTextToUrl("http:\\10.0.0.1"), QUrl(QStringLiteral("http://10.0.0.1")));
}

}  // namespace
}  // namespace tb
