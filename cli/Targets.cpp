// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "core/Latin1.h"
#include "core/TargetStore.h"

namespace tb::cli {

namespace {

std::vector<TargetEntry> LoadSaved() {
  std::vector<SkippedTarget> skipped;
  std::vector<TargetEntry> entries = TargetStore::Load(skipped);
  for (const SkippedTarget& entry : skipped) {
    Err(QStringLiteral("skipped a saved target: ") +
        Text(TargetRefusalEnglish(entry.text, entry.parse)));
  }
  return entries;
}

// A list with an unreadable entry is saved without it: the entry could never
// be asked, and keeping it would repeat the message at every query.
int Save(const std::vector<TargetEntry>& entries) {
  if (!TargetStore::Save(entries)) {
    Err(QStringLiteral("the list could not be saved; it stays as it was"));
    return ExitFailed;
  }
  return ExitOk;
}

}  // namespace

int Targets(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("targets"));
  if (const auto done = line.Parse(arguments)) {
    return *done;
  }
  const QStringList words = line.Positional();
  const QString action = words.value(0);
  if (action == QLatin1String("list") && words.size() == 1) {
    for (const TargetEntry& entry : LoadSaved()) {
      Out(Text(entry.Text()));
    }
    return ExitOk;
  }
  if ((action != QLatin1String("add") && action != QLatin1String("remove")) || words.size() != 2) {
    return line.Refuse(QStringLiteral("targets takes list, add ENTRY or remove ENTRY"));
  }
  const AnsiString text = ToAnsi(words[1]);
  const TargetParse parse = ParseTarget(text);
  if (!parse.entry) {
    return line.Refuse(Text(TargetRefusalEnglish(text, parse)));
  }
  std::vector<TargetEntry> entries = LoadSaved();
  const auto found = std::find(entries.begin(), entries.end(), *parse.entry);
  if (action == QLatin1String("add")) {
    if (found != entries.end()) {
      Err(QStringLiteral("%1 is listed already").arg(Text(parse.entry->Text())));
      return ExitOk;
    }
    entries.push_back(*parse.entry);
  } else {
    if (found == entries.end()) {
      Err(QStringLiteral("%1 is not in the list").arg(Text(parse.entry->Text())));
      return ExitFailed;
    }
    entries.erase(found);
  }
  return Save(entries);
}

}  // namespace tb::cli
