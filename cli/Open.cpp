// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/Session.h"
#include "cli/WebPage.h"
#include "core/ShellText.h"
#include "core/WebPage.h"

#include <QUrl>

namespace tb::cli {

int Open(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("open"));
  if (const auto done = line.Parse(arguments)) {
    return *done;
  }
  const int windowMs = line.WindowMs();
  if (line.Positional().size() != 1) {
    return line.Refuse(QStringLiteral("open takes one MAC"));
  }
  TSession session(line.Targets());
  session.Query(windowMs);
  int status = ExitOk;
  const DeviceRow* row = session.Find(line.Positional().constFirst(), status);
  if (row == nullptr) {
    return status;
  }
  if (const QString why = session.Unreachable(*row); !why.isEmpty()) {
    Err(why);
  }
  const std::optional<AnsiString> text = WebPageText(row->subItems[SubIP]);
  if (!text) {
    Err(QStringLiteral("nothing opened: \"%1\" is no IPv4 address")
            .arg(Text(row->subItems[SubIP])));
    return ExitFailed;
  }
  Out(ShellTextToUrl(*text).toString());
  if (!OpenWebPage(*text)) {
    Err(QStringLiteral("no browser could be started; open the address above yourself"));
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace tb::cli
