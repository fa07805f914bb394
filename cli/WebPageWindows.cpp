// SPDX-License-Identifier: GPL-3.0-or-later
// clang-format off
#include "common/WindowsHeaders.h"
#include <shellapi.h>
// clang-format on

#include "cli/WebPage.h"

namespace tb::cli {

// The shell takes the text as the window hands it over ("http:\\host").
bool OpenWebPage(const AnsiString& text) {
  const auto result = reinterpret_cast<INT_PTR>(
      ::ShellExecuteA(nullptr, "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  // Values of 32 and below are the shell's errors.
  return result > 32;
}

}  // namespace tb::cli
