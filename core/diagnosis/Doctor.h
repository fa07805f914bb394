// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <vector>

namespace tb::diagnosis {

// One finding of `brelvan doctor`.
struct Verdict {
  enum class Level { Ok, Note, Skipped, Problem };

  QString check;    // "port", "interface", "rp_filter", "firewall", "query"
  QString subject;  // an address, an interface, a table ...; may be empty
  Level level = Level::Ok;
  QString detail;
  QString mend;      // the command that mends it; empty when there is none
  QJsonObject data;  // figures for scripts, in the JSON output only
};

// The checks this platform has, in the order they are reported; one file
// per platform. `windowMs` is the live query's window on each interface.
std::vector<Verdict> RunChecks(int windowMs);

int CountProblems(const std::vector<Verdict>& verdicts);
// The report's lines for a reader, or its one JSON document for scripts.
QStringList TextReport(const std::vector<Verdict>& verdicts);
QJsonDocument JsonReport(const std::vector<Verdict>& verdicts);

}  // namespace tb::diagnosis
