// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "core/Latin1.h"
#include "tests/ui/SampleDevice.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/EditIPAddr.h"
#include "ui/Properties.h"

namespace tb {
namespace {

using test::Press;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

class PropertiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FillSampleDevice(dlg);
    dlg.Password = "opener's";
  }

  void Open() { test::ShowActive(&dlg); }

  void ClickOk() { QTest::mouseClick(dlg.btnOk, Qt::LeftButton); }

  // The data fields, to show that a step changed none of them.
  [[nodiscard]] std::vector<std::string> Fields() const {
    return {dlg.Password, dlg.DeviceName,       dlg.MAC,
            dlg.Version,  dlg.DHCP ? "1" : "0", dlg.IP,
            dlg.Netmask,  dlg.Gateway,          dlg.HostNameEnabled ? "1" : "0",
            dlg.HostName};
  }

  TfrmProperties dlg;
  test::MessageCatcher catcher;
};

TEST_F(PropertiesTest, CaptionsAreTranslatedAtCreation) {
  const std::vector<std::pair<QString, QString>> captions = {
      {dlg.windowTitle(), QStringLiteral("Device Properties")},
      {dlg.btnOk->text(), QStringLiteral("&Ok")},
      {dlg.btnCancel->text(), QStringLiteral("&Cancelar")},
      {dlg.lblDevice->text(), QStringLiteral("Dispositivo")},
      {dlg.lblMAC->text(), QStringLiteral("MAC")},
      {dlg.lblVersion->text(), Utf8("Versión Firmware")},
      {dlg.lblPassword->text(), QStringLiteral("Clave de acceso")},
      {dlg.chkDHCP->text(), QStringLiteral("Habilitar DHCP")},
      {dlg.lblHostName->text(), QStringLiteral("Nombre del Host")},
      {dlg.lblIP->text(), QStringLiteral("IP")},
      {dlg.lblNetmask->text(), QStringLiteral("Netmask")},
      {dlg.lblGateway->text(), QStringLiteral("Gateway")},
  };
  for (const auto& [shown, expected] : captions) {
    EXPECT_EQ(shown, expected);
  }
}

TEST_F(PropertiesTest, ShowingFillsTheControls) {
  Open();
  EXPECT_EQ(dlg.stDevice->text(), Utf8("Café IO-40"));
  EXPECT_EQ(dlg.stMAC->text(), QStringLiteral("00-11-22-33-44-55"));
  EXPECT_EQ(dlg.stVersion->text(), QStringLiteral("2.07"));
  EXPECT_FALSE(dlg.chkDHCP->isChecked());
  EXPECT_EQ(dlg.txtIP->Text(), "192.168.0.20");
  EXPECT_EQ(dlg.txtNetmask->Text(), "255.255.255.0");
  EXPECT_EQ(dlg.txtGateway->Text(), "192.168.0.1");
  EXPECT_EQ(dlg.txtHostname->text(), QStringLiteral("lab-io"));
  EXPECT_TRUE(dlg.txtPassword->hasFocus());
  EXPECT_TRUE(dlg.txtPassword->text().isEmpty());
}

TEST_F(PropertiesTest, ScreenReadersNameEachFieldByItsCaptionAndReadAnAddressWhole) {
  Open();
  const auto name = [](QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
  };
  EXPECT_EQ(name(dlg.stDevice), QStringLiteral("Dispositivo"));
  EXPECT_EQ(name(dlg.stVersion), Utf8("Versión Firmware"));
  EXPECT_EQ(name(dlg.txtPassword), QStringLiteral("Clave de acceso"));
  EXPECT_EQ(name(dlg.txtHostname), QStringLiteral("Nombre del Host"));
  EXPECT_EQ(name(dlg.txtIP), Utf8("Dirección IP 192.168.0.20"));
  EXPECT_EQ(name(dlg.txtGateway), QStringLiteral("Gateway 192.168.0.1"));
  EXPECT_EQ(name(dlg.txtIP->Cell(2)), Utf8("Dirección IP, octeto 3"));
  // Typing into a cell is read out at once, without rewriting the cells.
  dlg.txtIP->Cell(3)->setText(QStringLiteral("7"));
  EXPECT_EQ(name(dlg.txtIP), Utf8("Dirección IP 192.168.0.7"));
  dlg.txtIP->SetText("");
  EXPECT_EQ(name(dlg.txtIP), Utf8("Dirección IP"));
}

TEST_F(PropertiesTest, DhcpAndHostNameEnableTheirControls) {
  struct Case {
    bool dhcp;
    bool hostNameEnabled;
  };
  for (const Case c : {Case{false, true}, Case{true, false}, Case{true, true}}) {
    SCOPED_TRACE(std::to_string(c.dhcp) + std::to_string(c.hostNameEnabled));
    dlg.DHCP = c.dhcp;
    dlg.HostNameEnabled = c.hostNameEnabled;
    Open();
    EXPECT_EQ(dlg.chkDHCP->isChecked(), c.dhcp);
    for (QWidget* w : std::vector<QWidget*>{dlg.txtIP, dlg.lblIP, dlg.txtNetmask, dlg.lblNetmask,
                                            dlg.txtGateway, dlg.lblGateway}) {
      EXPECT_EQ(w->isEnabled(), !c.dhcp);
    }
    EXPECT_EQ(dlg.txtIP->Text(), "192.168.0.20") << "disabled edits keep their values";
    EXPECT_EQ(dlg.txtHostname->isEnabled(), c.hostNameEnabled);
    EXPECT_EQ(dlg.lblHostName->isEnabled(), c.hostNameEnabled);
    EXPECT_EQ(dlg.txtHostname->text().isEmpty(), !c.hostNameEnabled);
    EXPECT_TRUE(dlg.txtPassword->isEnabled());
    Press(Qt::Key_Escape);
  }
}

TEST_F(PropertiesTest, ClickingDhcpSwitchesTheAddressRows) {
  Open();
  const QPoint box(6, dlg.chkDHCP->height() / 2);
  QTest::mouseClick(dlg.chkDHCP, Qt::LeftButton, {}, box);
  ASSERT_TRUE(dlg.chkDHCP->isChecked());
  EXPECT_FALSE(dlg.txtNetmask->isEnabled());
  EXPECT_FALSE(dlg.lblGateway->isEnabled());
  QTest::mouseClick(dlg.chkDHCP, Qt::LeftButton, {}, box);
  EXPECT_TRUE(dlg.txtNetmask->isEnabled());
  EXPECT_TRUE(dlg.lblGateway->isEnabled());
  EXPECT_EQ(dlg.txtGateway->Text(), "192.168.0.1");
}

struct OkCase {
  const char* name;
  bool dhcp;
  const char* ip;
  const char* gateway;
  bool hostNameEnabled;
  const char* typedHostName;  // UTF-8, replaces the host name
  const char* typedPassword;  // UTF-8
  const char* message;        // UTF-8; empty when OK goes through
};

TEST_F(PropertiesTest, OkChecksTheEntriesInOrder) {
  const char* ipBad = "Dirección IP no válida.";
  const char* gwBad = "Dirección del Gateway no válida.";
  const char* hostBad = "Nombre del Host no válido.";
  const char* passBad = "Clave de acceso no válida.";
  const std::vector<OkCase> cases = {
      {"valid", false, "192.168.0.20", "192.168.0.1", true, "lab", "", ""},
      {"last IP octet 255", false, "10.0.0.255", "10.0.0.1", true, "lab", "", ipBad},
      {"IP reported before gateway", false, "127.0.0.1", "10.0.0.0", true, "lab", "", ipBad},
      {"no gateway", false, "10.0.0.1", "0.0.0.0", true, "lab", "", ""},
      {"gateway ending in 0", false, "10.0.0.1", "10.0.0.0", true, "lab", "", gwBad},
      {"multicast first octet passes", false, "224.0.0.1", "239.1.1.1", true, "lab", "", ""},
      {"DHCP skips the addresses", true, "127.0.0.1", "255.1.1.1", true, "lab", "", ""},
      {"host name with ')'", false, "10.0.0.1", "0.0.0.0", true, "ab)c", "", hostBad},
      {"host name with ','", true, "10.0.0.1", "0.0.0.0", true, "a,b", "", hostBad},
      {"host name with '('", false, "10.0.0.1", "0.0.0.0", true, "a(b", "", ""},
      {"host name beyond Latin-1", false, "10.0.0.1", "0.0.0.0", true, "łódź", "", hostBad},
      {"Latin-1 host name", false, "10.0.0.1", "0.0.0.0", true, "niño", "", ""},
      {"disabled host box not checked", false, "10.0.0.1", "0.0.0.0", false, "", "pw", ""},
      {"password with ','", false, "10.0.0.1", "0.0.0.0", true, "lab", "p,w", passBad},
      {"password with brackets", false, "10.0.0.1", "0.0.0.0", true, "lab", "(p)w)", ""},
      {"password beyond Latin-1", false, "10.0.0.1", "0.0.0.0", true, "lab", "€uro", passBad},
      {"host name reported before password", false, "10.0.0.1", "0.0.0.0", true, "a)", "b,",
       hostBad},
      {"addresses reported before host name", false, "10.0.0.0", "0.0.0.0", true, "a)", "", ipBad},
  };
  for (const OkCase& c : cases) {
    SCOPED_TRACE(c.name);
    catcher.messages.clear();
    dlg.DHCP = c.dhcp;
    dlg.IP = c.ip;
    dlg.Gateway = c.gateway;
    dlg.HostNameEnabled = c.hostNameEnabled;
    dlg.HostName = "";
    dlg.Password = "";
    dlg.setResult(-1);
    Open();
    const auto before = Fields();
    if (c.hostNameEnabled) {
      test::TypeText(dlg.txtHostname, Utf8(c.typedHostName));
    }
    test::TypeText(dlg.txtPassword, Utf8(c.typedPassword));
    ClickOk();
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(catcher.messages.empty());
      EXPECT_EQ(dlg.result(), QDialog::Accepted);
      EXPECT_FALSE(dlg.isVisible());
      EXPECT_EQ(dlg.DHCP, c.dhcp);
      EXPECT_EQ(dlg.IP, c.ip);
      EXPECT_EQ(dlg.Gateway, c.gateway);
      EXPECT_EQ(dlg.Netmask, "255.255.255.0");
      EXPECT_EQ(FromAnsi(dlg.HostName), Utf8(c.typedHostName));
      EXPECT_EQ(FromAnsi(dlg.Password), Utf8(c.typedPassword));
    } else {
      ASSERT_EQ(catcher.messages.size(), 1U);
      EXPECT_EQ(catcher.messages[0].caption, QStringLiteral("Brelvan"));
      EXPECT_EQ(catcher.messages[0].text, Utf8(c.message));
      EXPECT_FALSE(catcher.messages[0].errorIcon);
      EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
      EXPECT_EQ(Fields(), before) << "no data field changes";
      dlg.reject();
    }
  }
}

TEST_F(PropertiesTest, LatinOneBytesGoOutAndComeInAsSuch) {
  dlg.HostNameEnabled = true;
  dlg.HostName = "";
  Open();
  test::TypeText(dlg.txtHostname, Utf8("ñ"));
  ClickOk();
  EXPECT_EQ(dlg.HostName, "\xF1");
}

TEST_F(PropertiesTest, EmptyAddressCellsReachTheGeneralErrorReport) {
  struct Case {
    const char* ip;
    const char* gateway;
  };
  for (const Case c : {Case{"", "10.0.0.1"}, Case{"10.0.0.1", ""}}) {
    SCOPED_TRACE(std::string(c.ip) + "/" + c.gateway);
    catcher.messages.clear();
    dlg.IP = c.ip;
    dlg.Gateway = c.gateway;
    Open();
    const auto before = Fields();
    Press(Qt::Key_Return);
    ASSERT_EQ(catcher.messages.size(), 1U);
    const MessageRecord& report = catcher.messages[0];
    EXPECT_EQ(report.caption, QStringLiteral("Tarnwick Brelvan"));
    EXPECT_EQ(report.text, QStringLiteral("IPAddress must include 4 pieces of length 1..3. "
                                          "IPAddressString[]."));
    EXPECT_TRUE(report.errorIcon);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(Fields(), before);
    Press(Qt::Key_Escape);
  }
}

TEST_F(PropertiesTest, RefusedOkKeepsTheEntries) {
  Open();
  test::TypeText(dlg.txtPassword, QStringLiteral("secret"));
  // Gateway: only its first cell, "10": reads as 10.0.0.0, no host address.
  dlg.txtGateway->Cell(0)->setFocus();
  dlg.txtGateway->SetText("");
  dlg.txtGateway->Cell(0)->setFocus();
  Press(test::Typed("10"));
  ClickOk();
  ASSERT_EQ(catcher.messages.size(), 1U);
  EXPECT_EQ(catcher.messages[0].text, Utf8("Dirección del Gateway no válida."));
  EXPECT_EQ(dlg.txtPassword->text(), QStringLiteral("secret"));
  EXPECT_EQ(dlg.txtGateway->Cell(3)->text(), QStringLiteral("0")) << "reading rewrote the cells";
  EXPECT_EQ(dlg.Password, "opener's");
}

TEST_F(PropertiesTest, EscapeAndTheCloseButtonCancelWithoutChangingFields) {
  const auto written = Fields();
  for (const bool byEscape : {true, false}) {
    SCOPED_TRACE(byEscape ? "Esc" : "close button");
    Open();
    test::TypeText(dlg.txtPassword, QStringLiteral("pw"));
    QTest::mouseClick(dlg.chkDHCP, Qt::LeftButton, {}, QPoint(6, 8));
    if (byEscape) {
      Press(Qt::Key_Escape);
    } else {
      dlg.close();
    }
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(Fields(), written);
  }
}

TEST_F(PropertiesTest, ASecondShowingForgetsCancelledEdits) {
  Open();
  test::TypeText(dlg.txtPassword, QStringLiteral("pw"));
  dlg.txtHostname->selectAll();
  test::TypeText(dlg.txtHostname, QStringLiteral("typed"));
  dlg.txtIP->Cell(3)->setFocus();
  dlg.txtIP->Cell(3)->selectAll();
  Press(test::Typed("99"));
  QTest::mouseClick(dlg.chkDHCP, Qt::LeftButton, {}, QPoint(6, 8));
  Press(Qt::Key_Escape);

  Open();
  EXPECT_EQ(dlg.txtIP->Text(), "192.168.0.20");
  EXPECT_EQ(dlg.txtHostname->text(), QStringLiteral("lab-io"));
  EXPECT_FALSE(dlg.chkDHCP->isChecked());
  EXPECT_TRUE(dlg.txtIP->isEnabled());
  EXPECT_TRUE(dlg.txtPassword->text().isEmpty());
  EXPECT_TRUE(dlg.txtPassword->hasFocus());
}

TEST_F(PropertiesTest, RefusedAddressStopsTheFilling) {
  Open();
  Press(Qt::Key_Escape);

  dlg.DeviceName = "other";
  dlg.DHCP = true;
  dlg.IP = "10.0.0.5";
  dlg.Netmask = "1.2.3";
  dlg.Gateway = "10.0.0.1";
  dlg.HostName = "later";
  Open();
  ASSERT_EQ(catcher.messages.size(), 1U);
  EXPECT_EQ(catcher.messages[0].caption, QStringLiteral("Tarnwick Brelvan"));
  EXPECT_EQ(catcher.messages[0].text,
            QStringLiteral("IPAddress must include 4 pieces of length 1..3. "
                           "IPAddressString[1.2.3]."));
  EXPECT_TRUE(dlg.isVisible()) << "the dialog stays open";
  // Filled before the refused address...
  EXPECT_EQ(dlg.stDevice->text(), QStringLiteral("other"));
  EXPECT_TRUE(dlg.chkDHCP->isChecked());
  EXPECT_EQ(dlg.txtIP->Text(), "10.0.0.5");
  // ...and not after it.
  EXPECT_EQ(dlg.txtNetmask->Text(), "255.255.255.0");
  EXPECT_EQ(dlg.txtGateway->Text(), "192.168.0.1");
  EXPECT_EQ(dlg.txtHostname->text(), QStringLiteral("lab-io"));
  EXPECT_TRUE(dlg.txtIP->isEnabled()) << "the DHCP rule did not run";
}

TEST_F(PropertiesTest, TabOrder) {
  struct Case {
    bool dhcp;
    bool hostNameEnabled;
    std::vector<QWidget*> chain;  // from the password box, Tab by Tab
  };
  const std::vector<Case> cases = {
      {false,
       true,
       {dlg.chkDHCP, dlg.txtIP->Cell(0), dlg.txtNetmask->Cell(0), dlg.txtGateway->Cell(0),
        dlg.btnOk, dlg.btnCancel, dlg.txtHostname, dlg.txtPassword}},
      {true, false, {dlg.chkDHCP, dlg.btnOk, dlg.btnCancel, dlg.txtPassword}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.dhcp));
    dlg.DHCP = c.dhcp;
    dlg.HostNameEnabled = c.hostNameEnabled;
    Open();
    ASSERT_TRUE(dlg.txtPassword->hasFocus()) << "the focus starts in the password box";
    for (QWidget* next : c.chain) {
      Press(Qt::Key_Tab);
      EXPECT_EQ(QApplication::focusWidget(), next);
    }
    Press(Qt::Key_Escape);
  }
}

TEST_F(PropertiesTest, BoxLimitsAndMask) {
  dlg.HostName = "";
  Open();
  QTest::keyClicks(dlg.txtPassword, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(dlg.txtPassword->text().size(), 20);
  EXPECT_EQ(dlg.txtPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(dlg.txtPassword->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr,
                                                dlg.txtPassword),
            '*');
  QTest::keyClicks(dlg.txtHostname, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(dlg.txtHostname->text().size(), 15);
}

TEST_F(PropertiesTest, LongHostNameFromTheDeviceGoesBackWhole) {
  dlg.HostName = "a-twenty-char-name-x";
  Open();
  ClickOk();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.HostName, "a-twenty-char-name-x");
}

TEST_F(PropertiesTest, ShowModalOkReportsTheResult) {
  for (const auto& [key, ok] : {std::pair{Qt::Key_Return, true}, {Qt::Key_Escape, false}}) {
    SCOPED_TRACE(ok);
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&, key = key] {
      if (dlg.isVisible() && dlg.txtPassword->hasFocus()) {
        press.stop();
        QTest::keyClick(dlg.txtPassword, key);
      }
    });
    press.start(10);
    EXPECT_EQ(dlg.ShowModalOk(), ok);
  }
}

}  // namespace
}  // namespace tb
