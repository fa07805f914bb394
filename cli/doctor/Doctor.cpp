#include "cli/Doctor.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"

namespace tb::cli {

namespace {

QString LevelName(Verdict::Level level) {
  switch (level) {
    case Verdict::Level::Ok:
      return QStringLiteral("ok");
    case Verdict::Level::Note:
      return QStringLiteral("note");
    case Verdict::Level::Skipped:
      return QStringLiteral("skipped");
    case Verdict::Level::Problem:
      return QStringLiteral("problem");
  }
  return {};
}

void PrintText(const std::vector<Verdict>& verdicts, int problems) {
  for (const Verdict& v : verdicts) {
    const QString what = v.subject.isEmpty() ? v.check : v.check + QLatin1Char(' ') + v.subject;
    Out(QStringLiteral("%1 %2: %3")
            .arg(QStringLiteral("[%1]").arg(LevelName(v.level)).leftJustified(9), what, v.detail));
    if (!v.mend.isEmpty()) {
      Out(QStringLiteral("          mend: ") + v.mend);
    }
  }
  const bool nothingRan = std::all_of(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
    return v.level == Verdict::Level::Skipped;
  });
  Out(problems != 0 ? QStringLiteral("%1 problem(s) found.").arg(problems)
      : nothingRan  ? QStringLiteral("Nothing could be checked.")
                    : QStringLiteral("All is well: no check found a problem."));
}

void PrintJson(const std::vector<Verdict>& verdicts, int problems) {
  QJsonArray array;
  for (const Verdict& v : verdicts) {
    QJsonObject object = v.data;
    object.insert(QStringLiteral("check"), v.check);
    object.insert(QStringLiteral("subject"), v.subject);
    object.insert(QStringLiteral("verdict"), LevelName(v.level));
    object.insert(QStringLiteral("detail"), v.detail);
    object.insert(QStringLiteral("mend"), v.mend);
    array.append(object);
  }
  const QJsonObject root{{QStringLiteral("verdicts"), array},
                         {QStringLiteral("problems"), problems}};
  Out(QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented)).trimmed());
}

}  // namespace

int Doctor(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("doctor"));
  const QCommandLineOption json = line.Add(QStringLiteral("json"));
  if (const auto done = line.Parse(arguments)) {
    return *done;
  }
  const int windowMs = line.WindowMs();
  if (!line.Positional().isEmpty()) {
    return line.Refuse(QStringLiteral("doctor takes no arguments"));
  }
  const std::vector<Verdict> verdicts = RunChecks(windowMs);
  const auto problems =
      static_cast<int>(std::count_if(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
        return v.level == Verdict::Level::Problem;
      }));
  if (line.IsSet(json)) {
    PrintJson(verdicts, problems);
  } else {
    PrintText(verdicts, problems);
  }
  return problems == 0 ? ExitOk : ExitFailed;
}

}  // namespace tb::cli
