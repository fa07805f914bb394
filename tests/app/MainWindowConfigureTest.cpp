// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/DeviceListModel.h"
#include "core/ExchangeTexts.h"
#include "core/Latin1.h"
#include "tests/app/MainWindowFixture.h"
#include "ui/EditIPAddr.h"
#include "ui/InfoMsg.h"

namespace tb::testing {
namespace {

const char* const StaticDevice =
    "NTM(1113,2.0.1,00:11:22:33:44:01,10.77.0.21,255.255.255.0,10.77.0.1,0,dev-one)";
const char* const DhcpDevice = "NTM(4000,1.0,aa-bb-cc,0.0.0.0,0.0.0.0,0.0.0.0,0)";
const char* const OldFirmware = "NTM(1118,1.0.5,OLD:MAC,10.78.0.9,255.255.255.0,10.78.0.1,0,h)";

class Configure : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    Create();
    // A query of its own: the first paint of a new program can outlast the
    // start-up query's window (it does under wine).
    window->RefreshDevices();
    for (const char* reply : {StaticDevice, DhcpDevice, OldFirmware}) {
      Receive(reply);
    }
    (void)QTest::qWaitFor([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 2000);
    sent.clear();
  }

  void SelectMAC(const AnsiString& mac) {
    for (int i = 0; i < window->Devices()->Count(); ++i) {
      if (window->Devices()->Row(i).MAC() == mac) {
        SelectRow(i);
        return;
      }
    }
    FAIL() << mac;
  }

  // Opens the dialog for `mac`, types the password and presses OK.
  void ConfigureWithPassword(const AnsiString& mac, const QString& password,
                             const std::function<void(TfrmProperties&)>& edit = {}) {
    SelectMAC(mac);
    WhenDialogOpens([password, edit](TfrmProperties& dialog) {
      QTest::keyClicks(dialog.txtPassword, password);
      if (edit) {
        edit(dialog);
      }
      QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    });
    QTest::mouseClick(window->btnProperties, Qt::LeftButton);
  }

  bool WaitForOutcome() {
    return QTest::qWaitFor([&] { return !boxes.empty(); }, 3000);
  }
};

TEST_F(Configure, SendsEachOfTheFourFormsFromTheDialog) {
  ConfigureWithPassword("00:11:22:33:44:01", "pw");
  ConfigureWithPassword("00:11:22:33:44:01", "pw", [](TfrmProperties& d) {
    QTest::mouseClick(d.chkDHCP, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
  });
  ConfigureWithPassword("OLD:MAC", "x");
  ConfigureWithPassword("aa-bb-cc", "");
  ASSERT_EQ(sent.size(), 4U);
  EXPECT_EQ(sent[0], "CONFIG(pw,00:11:22:33:44:01,10.77.0.21,255.255.255.0,10.77.0.1,dev-one)");
  EXPECT_EQ(sent[1], "CONFIG(pw,00:11:22:33:44:01,0.0.0.0,0.0.0.0,0.0.0.0,dev-one)");
  EXPECT_EQ(sent[2], "CONFIG(x,OLD:MAC,10.78.0.9,255.255.255.0,10.78.0.1)");
  // IP Address 0.0.0.0 opens with DHCP on.
  EXPECT_EQ(sent[3], "CONFIG(,aa-bb-cc,0.0.0.0,0.0.0.0,0.0.0.0)");
  EXPECT_EQ(window->FExchangeMode(), ExchangeMode::Configuring);
  EXPECT_EQ(window->FTargetMAC(), "aa-bb-cc");
}

TEST_F(Configure, CancelSendsNothingAndKeepsTheMode) {
  SelectMAC("00:11:22:33:44:01");
  WhenDialogOpens([](TfrmProperties& d) { QTest::keyClick(d.txtPassword, Qt::Key_Escape); });
  QTest::mouseClick(window->btnProperties, Qt::LeftButton);
  EXPECT_TRUE(sent.empty());
  EXPECT_EQ(window->FExchangeMode(), ExchangeMode::Idle);
  EXPECT_FALSE(window->InfoMessage()->isVisible());
}

struct OutcomeCase {
  std::vector<AnsiString> replies;
  bool success;
};

TEST_F(Configure, LastMatchingReplyDecidesTheOutcome) {
  const std::vector<OutcomeCase> cases{
      {{"ACK(00:11:22:33:44:01)"}, true},
      {{"NAK(00:11:22:33:44:01)"}, false},
      {{}, false},
      {{"ACK(00:11:22:33:44:01)", "NAK(00:11:22:33:44:01)"}, false},
      {{"NAK(00:11:22:33:44:01)", "ACK(00:11:22:33:44:01,extra)"}, true},
      {{"ACK(00:11:22:33:44:0A)", "ACK(00:11:22:33:44:02)"}, false},
      {{"ACK(00:11:22:33:44:01"}, false},  // no closing character: empty F0
      {{"NTM(1113,1,x,1,1,1,0)", "ACK(00:11:22:33:44:01)", ""}, true},
  };
  for (const auto& c : cases) {
    boxes.clear();
    ConfigureWithPassword("00:11:22:33:44:01", "pw");
    EXPECT_EQ(window->InfoMessage()->MessageText, ConfiguringText);
    for (const auto& reply : c.replies) {
      Receive(reply);
    }
    ASSERT_TRUE(WaitForOutcome());
    ASSERT_EQ(boxes.size(), 1U);
    EXPECT_EQ(boxes[0].caption, "Brelvan");
    EXPECT_EQ(boxes[0].text, FromAnsi(c.success ? ConfigSuccessText : ConfigFailureText))
        << c.replies.size();
    EXPECT_FALSE(window->FConfigOk());
    EXPECT_EQ(window->FTargetMAC(), "");
    EXPECT_EQ(window->FExchangeMode(), ExchangeMode::Configuring);
  }
}

TEST_F(Configure, AfterTheOutcomeRepliesAreIgnoredUntilTheNextQuery) {
  ConfigureWithPassword("00:11:22:33:44:01", "pw");
  ASSERT_TRUE(WaitForOutcome());
  const int rows = window->Devices()->Count();
  Receive("NTM(1113,1,new,1,1,1,0)");
  EXPECT_EQ(window->Devices()->Count(), rows);
  // Only a reply with an empty F0 still matches the emptied target.
  Receive("ACK()");
  EXPECT_TRUE(window->FConfigOk());
  window->RefreshDevices();
  Receive("NTM(1113,1,new,1,1,1,0)");
  EXPECT_EQ(window->Devices()->Count(), 1);
}

TEST_F(Configure, QueryDuringTheWindowShowsNoOutcome) {
  ConfigureWithPassword("00:11:22:33:44:01", "pw");
  Receive("ACK(00:11:22:33:44:01)");
  window->RefreshDevices();
  EXPECT_EQ(window->InfoMessage()->MessageText, QueryingText);
  EXPECT_TRUE(window->InfoMessage()->isVisible());
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 2000));
  QTest::qWait(700);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(window->InfoMessage()->isVisible());
  // The abandoned target stays; a datagram in Idle clears the outcome flag.
  EXPECT_EQ(window->FTargetMAC(), "00:11:22:33:44:01");
  EXPECT_TRUE(window->FConfigOk());
  Receive("anything");
  EXPECT_FALSE(window->FConfigOk());
}

// A flag left set by an earlier reply must not turn silence into success.
TEST_F(Configure, ARequestNobodyAnswersFailsWhateverTheFlagHeld) {
  ConfigureWithPassword("00:11:22:33:44:01", "pw");
  Receive("ACK(00:11:22:33:44:01)");
  window->RefreshDevices();
  Receive(OldFirmware);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 2000));
  ConfigureWithPassword("OLD:MAC", "x");
  ASSERT_TRUE(WaitForOutcome());
  EXPECT_EQ(boxes.back().text, FromAnsi(ConfigFailureText)) << "abandoned window's ACK";
  boxes.clear();
  Receive("ACK()");
  ConfigureWithPassword("OLD:MAC", "x");
  ASSERT_TRUE(WaitForOutcome());
  EXPECT_EQ(boxes.back().text, FromAnsi(ConfigFailureText)) << "ACK with empty MAC";
}

TEST_F(Configure, DoubleClickWithoutSelectionDoesNothing) {
  QTest::mouseDClick(window->lstDevices->viewport(), Qt::LeftButton, Qt::NoModifier,
                     QPoint(700, 170));
  EXPECT_FALSE(properties.isVisible());
  EXPECT_TRUE(sent.empty());
}

}  // namespace
}  // namespace tb::testing
