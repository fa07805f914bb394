// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDesktopServices>
#include <QUrl>

#include "ui/ShellOpen.h"

namespace tb {

void PlatformShellOpen(QWidget* /*parent*/, const AnsiString& text) {
  QDesktopServices::openUrl(ShellTextToUrl(text));
}

}  // namespace tb
