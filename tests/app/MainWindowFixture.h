// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "app/MainWindow.h"
#include "net/IdMemoryStream.h"
#include "net/IdSocketHandle.h"
#include "net/IdUDPServer.h"
#include "tests/app/QuietWindowTest.h"

namespace tb::testing {

// A quiet main window whose commands are recorded instead of sent and which
// is fed datagrams by hand.
class MainWindowFixture : public QuietWindowTest {
 public:
  void Create(const std::vector<AnsiString>& hostAddresses = {"10.77.0.1"}) {
    MainServices services;
    services.listHostAddresses = [hostAddresses] { return hostAddresses; };
    services.getLocalInterfaces = [](std::vector<TLocalInterface>& list) {
      list.clear();
      return true;
    };
    services.sendCommand = [this](const AnsiString& text) { sent.push_back(text); };
    Show(std::make_unique<TfrmMain>(services));
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
    window->UDPServerUDPRead(window->UDPServer(), data, binding);
  }

  // NOLINTNEXTLINE(misc-non-private-member-variables-in-classes)
  std::vector<AnsiString> sent;
};

}  // namespace tb::testing
