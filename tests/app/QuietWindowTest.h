// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "app/DeviceListView.h"
#include "app/MainWindow.h"
#include "core/DeviceListModel.h"
#include "tests/core/ListQueries.h"
#include "ui/About.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"
#include "ui/ShellOpen.h"

namespace tb::testing {

// A main window whose message boxes and shell requests are recorded instead
// of shown; the handlers of the process come back when the test ends.
class QuietWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every window starts from the design's column widths, whatever an
    // earlier test dragged.
    QSettings("Tarnwick", "Brelvan").remove("Columns");
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
  // Makes `made` the window under test, with the fixture's dialogs, on screen.
  void Show(std::unique_ptr<TfrmMain> made) {
    window = std::move(made);
    window->SetDialogs(&properties, &about);
    window->show();
  }

  std::vector<AnsiString> Captions() const { return testing::Captions(*window->Devices()); }

  int RowOf(const AnsiString& mac) const { return testing::RowOf(*window->Devices(), mac); }

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
