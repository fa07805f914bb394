// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SortedRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/core/CCollation.h"

namespace tb {
namespace {

using SortedRowsTest = testing::CCollationTest;

DeviceRow Row(const AnsiString& caption, int id) {
  DeviceRow row;
  row.caption = caption;
  row.subItems[SubMAC] = std::to_string(id);
  return row;
}

// Against a plain sorted vector, over enough rows to split blocks many times,
// with captions that often compare equal (rows of one model) and arrive in
// every order: each row lands where an upper bound in the plain vector puts
// it, and every index reads back the right row.
TEST_F(SortedRowsTest, AgreesWithASortedVectorAcrossBlockSplits) {
  using Captions = AnsiString (*)(int, std::mt19937&);
  struct Case {
    const char* name;
    int rows;
    Captions caption;
  };
  const Case cases[] = {
      {"four models", 1600, [](int, std::mt19937& r) { return "TNB-" + std::to_string(r() % 4); }},
      {"all different", 1600, [](int, std::mt19937& r) { return std::to_string(r()); }},
      {"one model", 1100, [](int, std::mt19937&) { return AnsiString("TNB-110/S"); }},
      {"rising", 1100, [](int i, std::mt19937&) { return std::to_string(100000 + i); }},
      {"falling", 1100, [](int i, std::mt19937&) { return std::to_string(900000 - i); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 random(42);
    SortedRows rows;
    std::vector<DeviceRow> expected;
    for (int i = 0; i < c.rows; ++i) {
      const AnsiString caption = c.caption(i, random);
      const auto at =
          std::upper_bound(expected.begin(), expected.end(), caption,
                           [](const AnsiString& a, const DeviceRow& b) { return a < b.caption; });
      const SortedRows::Place place = rows.PlaceOf(caption);
      ASSERT_EQ(place.index, at - expected.begin()) << "row " << i;
      rows.Insert(place, Row(caption, i));
      expected.insert(at, Row(caption, i));
    }
    ASSERT_EQ(rows.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < rows.Count(); ++i) {
      ASSERT_EQ(rows.At(i), expected[static_cast<std::size_t>(i)]) << "index " << i;
    }
  }
}

TEST_F(SortedRowsTest, ClearEmptiesAndOutOfRangeThrows) {
  SortedRows rows;
  EXPECT_THROW((void)rows.At(0), std::out_of_range);
  for (int i = 0; i < 700; ++i) {
    rows.Insert(rows.PlaceOf("x"), Row("x", i));
  }
  EXPECT_THROW((void)rows.At(-1), std::out_of_range);
  EXPECT_THROW((void)rows.At(700), std::out_of_range);
  // Equal captions keep their arrival order.
  EXPECT_EQ(rows.At(699).MAC(), "699");
  rows.Clear();
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_THROW((void)rows.At(0), std::out_of_range);
  rows.Insert(rows.PlaceOf("b"), Row("b", 1));
  rows.Insert(rows.PlaceOf("a"), Row("a", 2));
  EXPECT_EQ(rows.At(0).caption, "a");
  EXPECT_EQ(rows.At(1).caption, "b");
}

}  // namespace
}  // namespace tb
