// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/TargetCheck.h"

namespace tb::diagnosis {

std::vector<Verdict> TargetVerdicts(const std::vector<TargetReading>& readings) {
  std::vector<Verdict> verdicts;
  for (const TargetReading& reading : readings) {
    Verdict verdict;
    verdict.check = QStringLiteral("target");
    verdict.subject = QString::fromLatin1(reading.entry.Text());
    verdict.data.insert(QStringLiteral("answered"), reading.answered);
    if (reading.source == 0) {
      verdict.level = Verdict::Level::Problem;
      verdict.detail = QStringLiteral("no route leads there: nothing can be asked");
      verdict.mend = QStringLiteral("ip route add %1 via GATEWAY").arg(verdict.subject);
    } else {
      const QString from = QString::fromLatin1(FormatDottedIPv4(reading.source));
      verdict.data.insert(QStringLiteral("source"), from);
      verdict.level = reading.answered > 0 ? Verdict::Level::Ok : Verdict::Level::Note;
      verdict.detail = reading.answered > 0
                           ? QStringLiteral("asked from %1; %2 device(s) answered")
                                 .arg(from)
                                 .arg(reading.answered)
                           : QStringLiteral(
                                 "asked from %1; no device answered (a device that answers by "
                                 "broadcast alone is not heard through a router)")
                                 .arg(from);
    }
    verdicts.push_back(verdict);
  }
  return verdicts;
}

}  // namespace tb::diagnosis
