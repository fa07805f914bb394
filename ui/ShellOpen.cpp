#include "ShellOpen.h"

#include <QUrl>
#include <utility>

#include "Latin1.h"

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

QUrl ShellTextToUrl(const AnsiString& text) {
  // The texts are written for the Windows shell, which takes "http:\\host";
  // a URL parser wants forward slashes.
  QString url = FromAnsi(text);
  url.replace(QLatin1Char('\\'), QLatin1Char('/'));
  return {url, QUrl::TolerantMode};
}

void ShellOpen(QWidget* parent, const AnsiString& text) {
  if (Handler()) {
    Handler()(text);
    return;
  }
  PlatformShellOpen(parent, text);
}

}  // namespace tb
