// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ShellText.h"

#include <QRegularExpression>
#include <QUrl>

#include "core/Latin1.h"

namespace tb {

QUrl ShellTextToUrl(const AnsiString& text) {
  // The texts are written for the Windows shell, which takes "http:\\host";
  // a URL parser wants forward slashes.
  QString url = FromAnsi(text);
  url.replace(QLatin1Char('\\'), QLatin1Char('/'));
  // One backslash or two make the same URL: a parser would take "http:/host"
  // for a path, not a host.
  static const QRegularExpression OneSlash(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):/(?!/)"));
  url.replace(OneSlash, QStringLiteral("\\1://"));
  return {url, QUrl::TolerantMode};
}

}  // namespace tb
