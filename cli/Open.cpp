#include "CommandLine.h"
#include "Commands.h"
#include "Console.h"
#include "DeviceLookup.h"
#include "ExchangeTexts.h"
#include "ExitCodes.h"
#include "Session.h"
#include "ShellText.h"
#include "WebPage.h"

#include <QUrl>

namespace tb::cli {

int Open(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("open"));
  line.AddTimeout();
  if (const auto done = line.Parse(arguments)) {
    return *done;
  }
  int windowMs = 0;
  if (!line.Timeout(windowMs)) {
    return ExitUsage;
  }
  if (line.Positional().size() != 1) {
    return line.Refuse(QStringLiteral("open takes one MAC"));
  }
  TSession session;
  session.Query(windowMs);
  int status = ExitOk;
  const DeviceRow* row = FindDevice(session.Devices(), line.Positional().constFirst(), status);
  if (row == nullptr) {
    return session.TakeSendFailure() && status == ExitNoDevice ? ExitCommunication : status;
  }
  if (!session.InSubnet(*row)) {
    const AnsiString heardOn = session.HeardOn(row->MAC());
    Err(QStringLiteral("%1 at %2 lies outside the network of %3 (%4), where it answered: its "
                       "page is unlikely to open")
            .arg(Text(row->caption), Text(row->subItems[SubIP]), Text(heardOn),
                 Text(session.NetworkOf(heardOn))));
  }
  const AnsiString text = WebPagePrefix + row->subItems[SubIP];
  Out(ShellTextToUrl(text).toString());
  if (!OpenWebPage(text)) {
    Err(QStringLiteral("no browser could be started; open the address above yourself"));
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace tb::cli
