// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window inside the lab, talking to simulated devices on both
// subnets through the real endpoint and fan-out.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/DeviceListView.h"
#include "app/MainWindow.h"
#include "core/DeviceListModel.h"
#include "core/ExchangeTexts.h"
#include "core/Latin1.h"
#include "core/TargetStore.h"
#include "tests/app/LabWindowTest.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LabSupport.h"
#include "ui/EditIPAddr.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"

namespace tb {
namespace {

using namespace std::chrono_literals;
using lab::Count;

class AppLab : public testing::LabWindowTest {
 protected:
  void SetUpLab() override {
    const std::string dir = ::testing::TempDir();
    dev1 = std::make_unique<lab::Simulator>("dev1", dir + "tb-app-dev1.log", TB_APP_FLEET_PATH);
    dev2 = std::make_unique<lab::Simulator>("dev2", dir + "tb-app-dev2.log", TB_APP_FLEET_PATH);
    ASSERT_TRUE(dev1->Ready() && dev2->Ready()) << "simulators did not start";

    Show(std::make_unique<TfrmMain>());
    ASSERT_TRUE(WaitIdle());
  }

  bool WaitIdle() {
    return lab::PumpUntil([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 3000ms);
  }

  void Query() {
    QTest::mouseClick(window->btnQuery, Qt::LeftButton);
    ASSERT_TRUE(WaitIdle());
  }

  // Selects the device and opens the dialog, which `answer` then handles.
  void OpenProperties(const AnsiString& mac, std::function<void(TfrmProperties&)> answer) {
    const int row = RowOf(mac);
    ASSERT_GE(row, 0) << mac;
    SelectRow(row);
    WhenDialogOpens(std::move(answer));
    QTest::mouseClick(window->btnProperties, Qt::LeftButton);
  }

  // Configures the device with `password` after `edit` has changed the
  // dialog; returns the text of the outcome box.
  QString ConfigureAndWait(const AnsiString& mac, const QString& password,
                           const std::function<void(TfrmProperties&)>& edit = {}) {
    boxes.clear();
    OpenProperties(mac, [password, edit](TfrmProperties& dialog) {
      QTest::keyClicks(dialog.txtPassword, password);
      if (edit) {
        edit(dialog);
      }
      QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
    });
    if (!lab::PumpUntil([&] { return !boxes.empty(); }, 3000ms)) {
      return "(no outcome)";
    }
    return boxes.back().text;
  }

  std::string Logs() const { return dev1->Log() + dev2->Log(); }
};

TEST_F(AppLab, QueryListsEveryDeviceOnceInCaptionOrder) {
  // The query of the program start has already run; a second one must find
  // the same.
  for (int pass = 0; pass < 2; ++pass) {
    const std::vector<AnsiString> expected{"alfa",       "Doble",     "Mudo",      "TNB-080/HN",
                                           "TNB-080/HN", "TNB-110/S", "TNB-110/S", "Zeta"};
    EXPECT_EQ(Captions(), expected) << "pass " << pass;
    // The two case variants of one MAC are two devices.
    EXPECT_GE(RowOf("00:aa:00:00:00:02"), 0);
    EXPECT_GE(RowOf("00:AA:00:00:00:02"), 0);
    EXPECT_TRUE(boxes.empty());
    Query();
  }
  // 7, 8 and 9 fields, and the old firmware refusing a host name.
  const DeviceRow& eight = window->Devices()->Row(RowOf("00:aa:00:00:00:02"));
  EXPECT_EQ(eight.subItems[SubHost], "lower");
  const DeviceRow& seven = window->Devices()->Row(RowOf("00:AA:00:00:00:02"));
  EXPECT_EQ(seven.subItems[SubHost], "-");
  const DeviceRow& old = window->Devices()->Row(RowOf("00:BB:00:00:00:01"));
  EXPECT_EQ(old.subItems[SubHost], "-");
  EXPECT_EQ(old.subItems[SubHostNameMarker], RefusesHostName);
  const DeviceRow& dhcp = window->Devices()->Row(RowOf("00:BB:00:00:00:02"));
  EXPECT_EQ(dhcp.subItems[SubDHCP], "Si");
}

TEST_F(AppLab, RepliesReceivedInTimeCountWhenTheProgramRunsLateForTheWindowsEnd) {
  // The program held past the window's end, as a busy machine may hold it:
  // the replies came within the window and wait for the listener or their
  // turn, and the overdue timer runs before them. They count all the same.
  QTest::mouseClick(window->btnQuery, Qt::LeftButton);
  std::this_thread::sleep_for(800ms);
  window->tmrTimeoutTimer();
  EXPECT_EQ(window->FExchangeMode(), ExchangeMode::Idle);
  EXPECT_EQ(Captions().size(), 8U);
}

TEST_F(AppLab, EachConfigFormIsSentExactlyAndAnsweredWithSuccess) {
  const QString success = FromAnsi(ConfigSuccessText);
  EXPECT_EQ(ConfigureAndWait("00:AA:00:00:00:01", "pw",
                             [](TfrmProperties& d) {
                               d.txtIP->SetText("10.77.0.41");
                               d.txtHostname->setText("zeta2");
                             }),
            success);
  // As the success text asks: query again before the next change.
  Query();
  EXPECT_EQ(ConfigureAndWait("00:AA:00:00:00:01", "pw",
                             [](TfrmProperties& d) {
                               QTest::mouseClick(d.chkDHCP, Qt::LeftButton, Qt::NoModifier,
                                                 QPoint(5, d.chkDHCP->height() / 2));
                             }),
            success);
  EXPECT_EQ(ConfigureAndWait("00:BB:00:00:00:01", "old",
                             [](TfrmProperties& d) { d.txtGateway->SetText("10.78.0.254"); }),
            success);
  EXPECT_EQ(ConfigureAndWait("00:BB:00:00:00:02", "old"), success);

  const std::string logs = Logs();
  for (const char* config : {
           "CONFIG(pw,00:AA:00:00:00:01,10.77.0.41,255.255.255.0,10.77.0.1,zeta2)",
           "CONFIG(pw,00:AA:00:00:00:01,0.0.0.0,0.0.0.0,0.0.0.0,zeta2)",
           "CONFIG(old,00:BB:00:00:00:01,10.78.0.31,255.255.255.0,10.78.0.254)",
           "CONFIG(old,00:BB:00:00:00:02,0.0.0.0,0.0.0.0,0.0.0.0)",
       }) {
    EXPECT_GE(Count(logs, std::string(" data=") + config + "\n"), 1U) << config;
  }
  EXPECT_EQ(Count(logs, "data=CONFIG("),
            Count(logs, "data=CONFIG(pw,") + Count(logs, "data=CONFIG(old,"));

  // A new query shows what the devices now hold.
  Query();
  const DeviceRow& zeta = window->Devices()->Row(RowOf("00:AA:00:00:00:01"));
  EXPECT_EQ(zeta.subItems[SubDHCP], "Si");
  EXPECT_EQ(zeta.subItems[SubIP], "10.77.0.41");
  EXPECT_EQ(zeta.subItems[SubHost], "zeta2");
  EXPECT_EQ(window->Devices()->Row(RowOf("00:BB:00:00:00:01")).subItems[SubGateway], "10.78.0.254");
}

TEST_F(AppLab, WrongPasswordSilenceAndAckThenNakAllReportFailure) {
  const QString failure = FromAnsi(ConfigFailureText);
  EXPECT_EQ(ConfigureAndWait("00:AA:00:00:00:01", "wrong"), failure);
  EXPECT_EQ(ConfigureAndWait("00:AA:00:00:00:05", "pw"), failure);
  EXPECT_EQ(ConfigureAndWait("00:AA:00:00:00:06", "pw"), failure);
  EXPECT_FALSE(boxes.back().errorIcon);
  EXPECT_EQ(boxes.back().caption, "Brelvan");
  // The silent device did receive its request.
  EXPECT_GE(Count(Logs(), "data=CONFIG(pw,00:AA:00:00:00:05,10.77.0.35,"), 1U);
}

TEST_F(AppLab, QueryDuringAConfigurationShowsNoOutcome) {
  OpenProperties("00:AA:00:00:00:01", [](TfrmProperties& dialog) {
    QTest::keyClicks(dialog.txtPassword, "pw");
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
  });
  ASSERT_EQ(window->FExchangeMode(), ExchangeMode::Configuring);
  QTest::mouseClick(window->btnQuery, Qt::LeftButton);
  ASSERT_TRUE(WaitIdle());
  lab::PumpFor(1200ms);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(window->Devices()->Count(), 8);
}

TEST_F(AppLab, RepliesAfterAReportedConfigurationAreIgnoredUntilTheNextQuery) {
  ASSERT_EQ(ConfigureAndWait("00:AA:00:00:00:01", "pw"), FromAnsi(ConfigSuccessText));
  const lab::Peer stranger("dev1", "10.77.0.4", 0);
  ASSERT_TRUE(stranger.Ok());
  const std::string late = "NTM(1120,1.0,00:CC:00:00:00:01,10.77.0.4,255.255.255.0,10.77.0.1,0)";
  stranger.Send(late, "10.77.0.255", 998);
  lab::PumpFor(300ms);
  EXPECT_EQ(RowOf("00:CC:00:00:00:01"), -1);
  EXPECT_EQ(boxes.size(), 1U);

  QTest::mouseClick(window->btnQuery, Qt::LeftButton);
  stranger.Send(late, "10.77.0.255", 998);
  ASSERT_TRUE(WaitIdle());
  EXPECT_GE(RowOf("00:CC:00:00:00:01"), 0);
  EXPECT_EQ(window->Devices()->Count(), 9);
}

TEST_F(AppLab, CancelSendsNothing) {
  OpenProperties("00:AA:00:00:00:01", [](TfrmProperties& dialog) {
    QTest::keyClicks(dialog.txtPassword, "pw");
    dialog.txtIP->SetText("10.77.0.99");
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
  });
  lab::PumpFor(1200ms);
  EXPECT_EQ(Count(Logs(), "data=CONFIG("), 0U);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(window->FExchangeMode(), ExchangeMode::Idle);
}

// The window with a saved target behind the lab's router (lab.sh routed up).
class AppRoutedLab : public testing::LabWindowTest {
 protected:
  void SetUpLab() override {
    ASSERT_EQ(lab::ChildProgram(TB_LAB_SCRIPT, {"routed", "up"}).Wait(30s).status, 0);
    far_ = std::make_unique<lab::Simulator>("far", ::testing::TempDir() + "tb-app-far.log",
                                            TB_ROUTED_FLEET_PATH);
    ASSERT_TRUE(far_->Ready());
    ASSERT_TRUE(TargetStore::Save({*ParseTarget("10.88.0.0/24").entry}));
    ShowWindow();
  }
  // The window opens its sockets, and runs its start-up query, in the
  // calling thread's namespace.
  virtual void ShowWindow() {
    Show(std::make_unique<TfrmMain>());
    ASSERT_TRUE(
        lab::PumpUntil([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 3000ms));
  }
  void TearDown() override {
    window.reset();
    far_.reset();
    lab::ChildProgram(TB_LAB_SCRIPT, {"routed", "down"}).Wait(30s);
    TargetStore::Save({});
    LabWindowTest::TearDown();
  }

  // NOLINTNEXTLINE(misc-non-private-member-variables-in-classes)
  std::unique_ptr<lab::Simulator> far_;
};

TEST_F(AppRoutedLab, ListsTheRoutedDevicesAndConfiguresOneThroughTheRouter) {
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"Lejano Dos", "Lejano Uno"}))
      << "the device that answers by broadcast alone is not heard";
  EXPECT_TRUE(boxes.empty());
  SelectRow(RowOf("00:C8:00:00:00:01"));
  WhenDialogOpens([](TfrmProperties& dialog) {
    QTest::keyClicks(dialog.txtPassword, QStringLiteral("pw8"));
    QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
  });
  QTest::mouseClick(window->btnProperties, Qt::LeftButton);
  ASSERT_TRUE(lab::PumpUntil([&] { return !boxes.empty(); }, 3000ms));
  EXPECT_EQ(boxes.back().text, FromAnsi(ConfigSuccessText));
  EXPECT_EQ(Count(far_->Log(),
                  "RECV from=10.87.0.1:998 to=10.88.0.11 if=eth0 len=72 data=CONFIG("
                  "pw8,00:C8:00:00:00:01,10.88.0.11,255.255.255.0,10.88.0.1,lejano1)\n"),
            1U)
      << far_->Log();
  EXPECT_EQ(Count(far_->Log(), "data=ACK(00:C8:00:00:00:01)\n"), 1U);
}

// Moves the calling thread into another lab namespace, and back when
// destroyed. Sockets stay in the namespace they were made in, so the window
// made there keeps talking from there whichever thread reads them.
class InNamespace {
 public:
  explicit InNamespace(const std::string& role)
      : home_(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
    const int there = ::open(("/run/netns/" + lab::Namespace(role)).c_str(), O_RDONLY | O_CLOEXEC);
    entered_ = home_ >= 0 && there >= 0 && ::setns(there, CLONE_NEWNET) == 0;
    if (there >= 0) ::close(there);
  }
  InNamespace(const InNamespace&) = delete;
  InNamespace& operator=(const InNamespace&) = delete;
  ~InNamespace() {
    if (entered_) ::setns(home_, CLONE_NEWNET);
    if (home_ >= 0) ::close(home_);
  }
  bool Entered() const { return entered_; }

 private:
  int home_;
  bool entered_ = false;
};

// The window on a PC inside WSL2, a VM or a container: no broadcast of the
// lab reaches it, and its only way out is the masquerading router.
class AppNatLab : public AppRoutedLab {
 protected:
  void ShowWindow() override {
    inner_ = std::make_unique<InNamespace>("inner");
    ASSERT_TRUE(inner_->Entered());
    AppRoutedLab::ShowWindow();
  }
  void TearDown() override {
    // Back in the PC before the routed networks are taken down from there.
    window.reset();
    inner_.reset();
    AppRoutedLab::TearDown();
  }

 private:
  std::unique_ptr<InNamespace> inner_;
};

TEST_F(AppNatLab, ListsTheRoutedDevicesFromBehindTheNat) {
  EXPECT_EQ(Captions(), (std::vector<AnsiString>{"Lejano Dos", "Lejano Uno"}));
  EXPECT_TRUE(boxes.empty());
  EXPECT_GE(Count(far_->Log(), "RECV from=10.86.0.2:"), 2U) << "the NAT's address";
}

}  // namespace
}  // namespace tb
