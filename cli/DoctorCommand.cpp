// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFormats.h"
#include "cli/Session.h"
#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/TargetCheck.h"
#include "net/RouteSource.h"

namespace tb::cli {

using diagnosis::CountProblems;
using diagnosis::JsonReport;
using diagnosis::RunChecks;
using diagnosis::TargetReading;
using diagnosis::TargetVerdicts;
using diagnosis::TextReport;
using diagnosis::Verdict;

namespace {

// One query that asks the targets alone among the usual broadcasts; each
// device's first answer is credited to the target it came from.
std::vector<TargetReading> ReadTargets(const TCommandLine& line) {
  std::vector<TargetReading> readings;
  for (const TargetEntry& entry : line.Targets()) {
    readings.push_back({entry, RouteSource(TargetDestinations({entry}).front()), 0});
  }
  TSession session(line.Targets());
  session.Query(line.WindowMs());
  session.TakeSendFailure();
  for (int i = 0; i < session.Devices().Count(); ++i) {
    const AnsiString mac = session.Devices().Row(i).MAC();
    const auto from = ParseDottedIPv4(session.AnsweredFrom(mac));
    for (TargetReading& reading : readings) {
      if (from && TargetsHold({reading.entry}, *from)) {
        ++reading.answered;
        break;
      }
    }
  }
  return readings;
}

}  // namespace

int Doctor(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("doctor"));
  const QCommandLineOption json = line.Option(QStringLiteral("json"));
  if (const auto done = line.ParseOptionsOnly(arguments)) {
    return *done;
  }
  std::vector<Verdict> verdicts = RunChecks(line.WindowMs());
  if (!line.Targets().empty()) {
    const std::vector<Verdict> targets = TargetVerdicts(ReadTargets(line));
    verdicts.insert(verdicts.end(), targets.begin(), targets.end());
  }
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
