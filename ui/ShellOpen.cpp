// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ShellOpen.h"

#include <utility>

namespace tb {

namespace {

ShellOpenHandler& Handler() {
  static ShellOpenHandler handler;
  return handler;
}

}  // namespace

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ShellOpen(QWidget* parent, const AnsiString& text) {
  if (Handler()) {
    Handler()(text);
    return;
  }
  PlatformShellOpen(parent, text);
}

}  // namespace tb
