// SPDX-License-Identifier: GPL-3.0-or-later
#include <QProcess>
#include <QUrl>

#include "cli/WebPage.h"
#include "core/ShellText.h"

namespace tb::cli {

// xdg-open picks the desktop's browser, as the window's opener does, and
// needs no display of ours.
bool OpenWebPage(const AnsiString& text) {
  return QProcess::startDetached(QStringLiteral("xdg-open"), {ShellTextToUrl(text).toString()});
}

}  // namespace tb::cli
