// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>

#include "tests/app/QuietWindowTest.h"
#include "tests/support/LabSupport.h"

namespace tb::testing {

// A quiet main window inside the lab's PC namespace, beside the simulators
// that the test starts in the device namespaces; skipped where the lab
// cannot run.
class LabWindowTest : public QuietWindowTest {
 protected:
  void SetUp() final {
    QuietWindowTest::SetUp();
    if (const std::string why = lab::SkipReason(); !why.empty()) {
      GTEST_SKIP() << why;
    }
    // Captions sort in the C locale's order here, whatever the machine's locale.
    std::setlocale(LC_COLLATE, "C");
    SetUpLab();
  }

  // The test's own setting up, once the lab is known to run.
  virtual void SetUpLab() {}

  void TearDown() override {
    // The window first: its endpoint must not outlive what it talks to.
    window.reset();
    dev1.reset();
    dev2.reset();
    QuietWindowTest::TearDown();
  }

 public:
  // NOLINTBEGIN(misc-non-private-member-variables-in-classes)
  std::unique_ptr<lab::Simulator> dev1;
  std::unique_ptr<lab::Simulator> dev2;
  // NOLINTEND(misc-non-private-member-variables-in-classes)
};

}  // namespace tb::testing
