// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSettings>

#include "app/ColumnWidths.h"
#include "tests/app/MainWindowFixture.h"

namespace tb::testing {
namespace {

TEST(ColumnWidths, UnreadableStoredValuesFallBackToTheDesignWidth) {
  const struct {
    QVariant stored;
    int width;
  } cases[] = {
      {QVariant(), 95},
      {"170", 170},
      {" 120 ", 120},
      {1, 1},
      {2000, 2000},
      {"abc", 95},
      {"", 95},
      {"-5", 95},
      {0, 95},
      {2001, 95},
      {"99999999999", 95},
      {"12.5", 95},
      {"0x40", 95},
      {QStringList{"1", "2"}, 95},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StoredColumnWidth(c.stored, 95), c.width) << c.stored.toString().toStdString();
  }
}

using ColumnWidthsWindow = MainWindowFixture;

TEST_F(ColumnWidthsWindow, DraggedWidthsComeBackAtTheNextStartAndGarbageDoesNot) {
  Create();
  window->lstDevices->horizontalHeader()->resizeSection(2, 181);
  window.reset();
  {
    QSettings settings("Tarnwick", "Brelvan");
    settings.setValue("Columns/5", "wide");
    settings.setValue("Columns/6", -40);
  }
  Create();
  const int widths[] = {140, 80, 181, 50, 50, 95, 95, 95};
  for (int c = 0; c < 8; ++c) {
    EXPECT_EQ(window->lstDevices->columnWidth(c), widths[c]) << c;
  }
  // The start itself wrote nothing back over the garbage.
  EXPECT_EQ(QSettings("Tarnwick", "Brelvan").value("Columns/5").toString(), "wide");
}

}  // namespace
}  // namespace tb::testing
