// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TargetStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace tb {
namespace {

// Never the user's own settings: a temporary folder stands in for them.
class TargetStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    TargetStore::UseFile(File());
  }
  QString File() const { return dir_.path() + QStringLiteral("/Brelvan.ini"); }
  QTemporaryDir dir_;
};

TEST_F(TargetStoreTest, SavedListReadsBackAndGarbageIsSkipped) {
  std::vector<SkippedTarget> skipped;
  EXPECT_TRUE(TargetStore::Load(skipped).empty());
  const std::vector<TargetEntry> entries{*ParseTarget("10.88.0.5").entry,
                                         *ParseTarget("10.88.0.0/24").entry};
  ASSERT_TRUE(TargetStore::Save({entries[1]}));
  ASSERT_TRUE(TargetStore::Save(entries));
  EXPECT_EQ(TargetStore::Load(skipped), entries);
  EXPECT_TRUE(skipped.empty());

  QFile file(File());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("[Targets]\nList=10.88.0.5 \xff\x01junk 10.0.0.0/8 10.88.0.5 10.88.1.0/24\n");
  file.close();
  const std::vector<TargetEntry> read = TargetStore::Load(skipped);
  ASSERT_EQ(read.size(), 2U);
  EXPECT_EQ(read[1].Text(), "10.88.1.0/24");
  ASSERT_EQ(skipped.size(), 2U);
  EXPECT_EQ(skipped[1].parse.fault, TargetFault::TooWide);
}

}  // namespace
}  // namespace tb
