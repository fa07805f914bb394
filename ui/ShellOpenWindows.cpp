// SPDX-License-Identifier: GPL-3.0-or-later
// clang-format off
#include "common/WindowsHeaders.h"
#include <shellapi.h>
// clang-format on

#include <QWidget>

#include "ui/ShellOpen.h"

namespace tb {

// The shell takes the text as it is ("http:\\host" included); its result is
// not looked at.
void PlatformShellOpen(QWidget* parent, const AnsiString& text) {
  const HWND window = parent != nullptr ? reinterpret_cast<HWND>(parent->winId()) : nullptr;
  ::ShellExecuteA(window, "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tb
