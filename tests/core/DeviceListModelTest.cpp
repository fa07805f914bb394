// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DeviceListModel.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <clocale>
#include <random>
#include <string>
#include <vector>

#include "protocol/DeviceRow.h"
#include "tests/core/ListQueries.h"

#include "tests/core/CCollation.h"

namespace tb {
namespace {

using testing::Captions;

using DeviceListModelTest = testing::CCollationTest;

TEST_F(DeviceListModelTest, KeepsCaptionOrderWhateverTheArrivalOrder) {
  DeviceListModel model;
  // 9-field names sort among the model names.
  model.AddRow(MakeDeviceRow("NTM(1113,1,m1,i,n,g,0,h,Zulu)"));
  model.AddRow(MakeDeviceRow("NTM(4000,1,m2,i,n,g,0)"));
  model.AddRow(MakeDeviceRow("NTM(1113,1,m3,i,n,g,0,h,Alpha)"));
  model.AddRow(MakeDeviceRow("NTM(9999,1,m4,i,n,g,0)"));
  model.AddRow(MakeDeviceRow("NTM(1113,1,m5,i,n,g,0,h,)"));
  const auto captions = Captions(model);
  ASSERT_EQ(captions.size(), 5U);
  EXPECT_TRUE(std::is_sorted(captions.begin(), captions.end())) << captions[0];
  EXPECT_EQ(captions.front(), "");
}

TEST_F(DeviceListModelTest, DropsExactDuplicatesKeepsCaseVariants) {
  DeviceListModel model;
  EXPECT_TRUE(model.AddRow(MakeDeviceRow("NTM(1113,1.0,aa:bb,1.1.1.1,n,g,0)")));
  EXPECT_FALSE(model.AddRow(MakeDeviceRow("NTM(4000,2.0,aa:bb,2.2.2.2,n,g,1,h,Other)")));
  EXPECT_TRUE(model.AddRow(MakeDeviceRow("NTM(1113,1.0,AA:BB,1.1.1.1,n,g,0)")));
  ASSERT_EQ(model.Count(), 2);
  // The first reply's values stand.
  for (int i = 0; i < model.Count(); ++i) {
    if (model.Row(i).MAC() == "aa:bb") {
      EXPECT_EQ(model.Row(i).subItems[SubIP], "1.1.1.1");
    }
  }
  // Two empty MACs are duplicates too.
  EXPECT_TRUE(model.AddRow(MakeDeviceRow("NTM()")));
  EXPECT_FALSE(model.AddRow(MakeDeviceRow("NTM()")));
}

TEST_F(DeviceListModelTest, ClearForgetsRowsMacsAndTheUnlistedCount) {
  DeviceListModel model;
  for (int i = 0; i < DeviceListModel::MaxRows; ++i) {
    ASSERT_TRUE(model.AddRow(MakeDeviceRow("NTM(1113,1," + std::to_string(i) + ",i,n,g,0)")));
  }
  // A full list takes no new MAC and counts it; a known one is a duplicate.
  EXPECT_FALSE(model.AddRow(MakeDeviceRow("NTM(1113,1,new,i,n,g,0)")));
  EXPECT_FALSE(model.AddRow(MakeDeviceRow("NTM(1113,1,7,i,n,g,0)")));
  EXPECT_EQ(model.Count(), DeviceListModel::MaxRows);
  EXPECT_EQ(model.Unlisted(), 1);
  model.Clear();
  EXPECT_EQ(model.Count(), 0);
  EXPECT_EQ(model.Unlisted(), 0);
  EXPECT_TRUE(model.AddRow(MakeDeviceRow("NTM(1113,1,7,i,n,g,0)")));
}

TEST_F(DeviceListModelTest, ShowsLatin1TextsAndColumnCaptions) {
  DeviceListModel model;
  model.AddRow(MakeDeviceRow("NTM(1113,1,m,i,n,g,0,h\xf1,Caf\xe9)"));
  EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("Café"));
  EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QString::fromUtf8("hñ"));
  EXPECT_EQ(model.data(model.index(0, 4), Qt::DisplayRole).toString(), "No");
  QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);
  model.SetColumnCaption(0, "Dispositivo");
  EXPECT_EQ(spy.count(), 1);
  const QStringList expected{"Dispositivo", "Host",       "MAC",     "Version",
                             "DHCP",        "IP Address", "Netmask", "Gateway"};
  for (int c = 0; c < DeviceListModel::ColumnCount; ++c) {
    EXPECT_EQ(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), expected[c]);
  }
}

// What Qt's model checker sees of every insert, duplicate and clear: a row is
// announced at the place it then reads back from, never before or after.
TEST_F(DeviceListModelTest, KeepsQtsModelContractThroughManyInserts) {
  static int complaints = 0;
  complaints = 0;
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
        complaints += type >= QtWarningMsg ? 1 : 0;
      });
  {
    DeviceListModel model;
    const QAbstractItemModelTester tester(&model,
                                          QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    std::mt19937 random(3);
    for (int i = 0; i < 900; ++i) {
      const std::string mac = std::to_string(random() % 2000);
      std::string reply = "NTM(1113,1,";
      reply += mac;
      reply += ",i,n,g,0,h,Dev";
      reply += std::to_string(random() % 50);
      reply += ")";
      const bool added = model.AddRow(MakeDeviceRow(reply));
      if (added) {
        const int at = inserted.constLast().at(1).toInt();
        ASSERT_EQ(model.Row(at).MAC(), mac);
      }
      if (i == 800) {
        model.Clear();
      }
    }
  }
  qInstallMessageHandler(previous);
  EXPECT_EQ(complaints, 0);
}

}  // namespace
}  // namespace tb
