// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFormats.h"
#include "core/diagnosis/Doctor.h"

namespace tb::cli {

using diagnosis::CountProblems;
using diagnosis::JsonReport;
using diagnosis::RunChecks;
using diagnosis::TextReport;
using diagnosis::Verdict;

int Doctor(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("doctor"));
  const QCommandLineOption json = line.Option(QStringLiteral("json"));
  if (const auto done = line.ParseOptionsOnly(arguments)) {
    return *done;
  }
  const std::vector<Verdict> verdicts = RunChecks(line.WindowMs());
  if (line.IsSet(json)) {
    Out(JsonText(JsonReport(verdicts)));
  } else {
    for (const QString& text : TextReport(verdicts)) {
      Out(text);
    }
  }
  return CountProblems(verdicts) == 0 ? ExitOk : ExitFailed;
}

}  // namespace tb::cli
