// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceListView.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <clocale>
#include <string>

#include "core/DeviceListModel.h"
#include "protocol/DeviceRow.h"

namespace tb {
namespace {

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

DeviceRow Device(int i) {
  const std::string n = std::to_string(i);
  return MakeDeviceRow("NTM(1113,1," + n + ",10.0.0.1,n,g,0,h,Device " + n + ")");
}

class DeviceListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::setlocale(LC_COLLATE, "C");
    view.setModel(&model);
    view.resize(400, 180);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(2 * DeviceListView::HoldMs);
    view.viewport()->installEventFilter(&counter);
  }

  // NOLINTBEGIN(misc-non-private-member-variables-in-classes)
  DeviceListModel model;
  DeviceListView view;
  PaintCounter counter;
  // NOLINTEND(misc-non-private-member-variables-in-classes)
};

// Replies arriving one by one, the event loop running between them as it
// does between datagrams: the list is laid out and drawn about once per
// hold, not once per row, and ends up exactly as an unheld view would.
TEST_F(DeviceListViewTest, RowsArrivingFastAreDrawnOncePerHold) {
  QElapsedTimer clock;
  clock.start();
  for (int i = 0; i < 300; ++i) {
    model.AddRow(Device(i));
    QCoreApplication::processEvents();
    QTest::qSleep(1);
  }
  const auto elapsed = clock.elapsed();
  QTest::qWait(3 * DeviceListView::HoldMs);
  // Drawn at every hold's end even while rows keep coming, and no more often.
  EXPECT_GE(counter.paints, elapsed / (2LL * DeviceListView::HoldMs)) << "in " << elapsed << " ms";
  EXPECT_LE(counter.paints, elapsed / DeviceListView::HoldMs + 4) << "in " << elapsed << " ms";

  QTableView plain;
  plain.setModel(&model);
  plain.verticalHeader()->setVisible(false);
  plain.verticalHeader()->setDefaultSectionSize(17);
  plain.resize(view.size());
  plain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
  EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
  EXPECT_EQ(view.verticalScrollBar()->maximum(), plain.verticalScrollBar()->maximum());
}

TEST_F(DeviceListViewTest, ALoneRowIsDrawnWithinAHold) {
  model.AddRow(Device(1));
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }, 4 * DeviceListView::HoldMs));
  // Clicks and selection need no drawing: they work during a hold too.
  model.AddRow(Device(2));
  QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                    view.visualRect(model.index(1, 0)).center());
  EXPECT_EQ(view.SelectedRow(), 1);
}

}  // namespace
}  // namespace tb
