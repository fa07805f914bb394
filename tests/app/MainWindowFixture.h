#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "app/DeviceListView.h"
#include "app/MainWindow.h"
#include "net/IdMemoryStream.h"
#include "net/IdSocketHandle.h"
#include "net/IdUDPServer.h"
#include "ui/About.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"
#include "ui/ShellOpen.h"

namespace tb::testing {

// A main window whose commands are recorded instead of sent, whose message
// boxes and shell requests are recorded instead of shown, and which is fed
// datagrams by hand.
class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousBoxes_ = SetMessageBoxHandler([this](const MessageRecord& box) {
      boxes.push_back(box);
      if (onBox) {
        onBox(box);
      }
    });
    previousShell_ =
        SetShellOpenHandler([this](const AnsiString& text) { opened.push_back(text); });
  }

  void TearDown() override {
    window.reset();
    SetMessageBoxHandler(previousBoxes_);
    SetShellOpenHandler(previousShell_);
  }

 public:
  void Create(const std::vector<AnsiString>& hostAddresses = {"10.77.0.1"}) {
    MainServices services;
    services.listHostAddresses = [hostAddresses] { return hostAddresses; };
    services.getLocalInterfaces = [](std::vector<TLocalInterface>& list) {
      list.clear();
      return true;
    };
    services.sendCommand = [this](const AnsiString& text) { sent.push_back(text); };
    window = std::make_unique<TfrmMain>(services);
    window->SetDialogs(&properties, &about);
    window->show();
  }

  // Makes the main window the active one, as shortcuts and focus need.
  bool Activate() {
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get(), 2000);
  }

  void Receive(const AnsiString& text) {
    TIdMemoryStream data;
    data.SetSize(text.size());
    std::copy(text.begin(), text.end(), data.Memory());
    TIdSocketHandle binding(998);
    window->UDPServerUDPRead(*window->UDPServer, data, binding);
  }

  // Selects row `index` of the list as a user's click would.
  void SelectRow(int index) {
    auto* view = window->lstDevices;
    const QRect cell = view->visualRect(view->model()->index(index, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }

  // Runs `answer` on the properties dialog once it is open modally.
  void WhenDialogOpens(std::function<void(TfrmProperties&)> answer) {
    QObject::connect(
        &properties, &TfrmProperties::Activated, &properties,
        [this, answer = std::move(answer)] { answer(properties); }, Qt::SingleShotConnection);
  }

  // NOLINTBEGIN(misc-non-private-member-variables-in-classes)
  std::vector<AnsiString> sent;
  std::vector<MessageRecord> boxes;
  std::vector<AnsiString> opened;
  std::function<void(const MessageRecord&)> onBox;
  TfrmProperties properties;
  TfrmAbout about;
  std::unique_ptr<TfrmMain> window;
  // NOLINTEND(misc-non-private-member-variables-in-classes)

 private:
  MessageBoxHandler previousBoxes_;
  ShellOpenHandler previousShell_;
};

}  // namespace tb::testing
