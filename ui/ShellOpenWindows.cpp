#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <QWidget>

#include "ShellOpen.h"

namespace tb {

// The shell takes the text as it is ("http:\\host" included); its result is
// not looked at.
void PlatformShellOpen(QWidget* parent, const AnsiString& text) {
  const HWND window = parent != nullptr ? reinterpret_cast<HWND>(parent->winId()) : nullptr;
  ::ShellExecuteA(window, "open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tb
