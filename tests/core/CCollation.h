// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace tb::testing {

// A test whose captions sort in the C locale's order, whatever the machine's locale.
class CCollationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_COLLATE, nullptr);
    std::setlocale(LC_COLLATE, "C");
  }
  void TearDown() override { std::setlocale(LC_COLLATE, saved_.c_str()); }

 private:
  std::string saved_;
};

}  // namespace tb::testing
