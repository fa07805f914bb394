#include <QDesktopServices>
#include <QUrl>

#include "Latin1.h"
#include "ShellOpen.h"

namespace tb {

void PlatformShellOpen(QWidget* /*parent*/, const AnsiString& text) {
  // The texts are written for the Windows shell, which takes "http:\\host";
  // a URL parser here wants forward slashes.
  QString url = FromAnsi(text);
  url.replace(QLatin1Char('\\'), QLatin1Char('/'));
  QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

}  // namespace tb
