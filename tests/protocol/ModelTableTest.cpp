// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/ModelTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tb {
namespace {

constexpr const char* Codes[] = {"1113", "1121", "1120", "1114", "1115", "1132", "1130",
                                 "1131", "1122", "1300", "1112", "1111", "1119", "1118",
                                 "1117", "1116", "1110", "1109", "2113", "2121", "2120",
                                 "2114", "4100", "1310", "4000", "4001", "1201", "1204"};

TEST(ModelNameForCode, EveryCodeHasItsOwnShortDesignation) {
  std::set<std::string> names;
  for (const std::string code : Codes) {
    const std::string name = ModelNameForCode(code);
    EXPECT_NE(name, DefaultModelName) << code;
    EXPECT_LE(name.size(), 15U) << code;
    for (const char c : name) {
      EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '/')
          << code << " " << name;
    }
    names.insert(name);
  }
  EXPECT_EQ(names.size(), std::size(Codes));
}

TEST(ModelNameForCode, AnythingButAnExactCodeGivesTheDefault) {
  for (const std::string code : {"9999", "", " 1113", "1113 ", "01113", "113", "1113\n", "111"}) {
    EXPECT_EQ(ModelNameForCode(code), "Tarnwick Device") << "[" << code << "]";
  }
  EXPECT_EQ(ModelNameForCode(std::string("1113\0", 5)), "Tarnwick Device");
}

}  // namespace
}  // namespace tb
