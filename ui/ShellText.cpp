#include "ShellText.h"

#include <QUrl>

#include "Latin1.h"

namespace tb {

QUrl ShellTextToUrl(const AnsiString& text) {
  // The texts are written for the Windows shell, which takes "http:\\host";
  // a URL parser wants forward slashes.
  QString url = FromAnsi(text);
  url.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return {url, QUrl::TolerantMode};
}

}  // namespace tb
