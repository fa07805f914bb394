// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/Doctor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>

#include "core/Latin1.h"
#include "net/Ipv4Address.h"
#include "protocol/DeviceRow.h"

namespace tb::diagnosis {

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

}  // namespace

QString Dotted(std::uint32_t address) { return QString::fromStdString(FormatDottedIPv4(address)); }

HeardAnswer HeardAnswerFrom(const AnsiString& reply, std::uint32_t heardOn) {
  const DeviceRow row = MakeDeviceRow(reply);
  return {FromAnsi(row.MAC()), FromAnsi(row.caption), FromAnsi(row.subItems[SubIP]), heardOn};
}

int CountProblems(const std::vector<Verdict>& verdicts) {
  return static_cast<int>(std::count_if(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
    return v.level == Verdict::Level::Problem;
  }));
}

QStringList TextReport(const std::vector<Verdict>& verdicts) {
  QStringList lines;
  for (const Verdict& v : verdicts) {
    const QString what = v.subject.isEmpty() ? v.check : v.check + QLatin1Char(' ') + v.subject;
    lines << QStringLiteral("%1 %2: %3")
                 .arg(QStringLiteral("[%1]").arg(LevelName(v.level)).leftJustified(9), what,
                      v.detail);
    if (!v.mend.isEmpty()) {
      lines << QStringLiteral("          mend: ") + v.mend;
    }
  }
  const int problems = CountProblems(verdicts);
  const bool nothingRan = std::all_of(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
    return v.level == Verdict::Level::Skipped;
  });
  lines << (problems != 0 ? QStringLiteral("%1 problem(s) found.").arg(problems)
            : nothingRan  ? QStringLiteral("Nothing could be checked.")
                          : QStringLiteral("All is well: no check found a problem."));
  return lines;
}

QJsonDocument JsonReport(const std::vector<Verdict>& verdicts) {
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
                         {QStringLiteral("problems"), CountProblems(verdicts)}};
  return QJsonDocument(root);
}

}  // namespace tb::diagnosis
