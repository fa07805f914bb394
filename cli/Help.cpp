// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Help.h"

#include <QStringList>

#include "cli/CommandTable.h"
#include "cli/ExitCodes.h"

namespace tb::cli {

namespace {

// Where an option's description starts; a longer label takes a line of its own.
constexpr qsizetype DescriptionColumn = 25;
constexpr qsizetype TextWidth = 76;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString Lines(const std::vector<const char*>& lines, const QString& separator) {
  QStringList joined;
  for (const char* line : lines) {
    joined << Utf8(line);
  }
  return joined.join(separator);
}

QString OptionLines(const std::vector<OptionEntry>& options) {
  QString text;
  for (const OptionEntry& option : options) {
    // The long names line up whether or not a one-letter name comes first.
    const QString label =
        QString::fromLatin1(option.shortName != 0 ? "  " : "      ") + OptionLabel(option);
    text += label.size() + 2 > DescriptionColumn
                ? label + QLatin1Char('\n') + QString(DescriptionColumn, QLatin1Char(' '))
                : label.leftJustified(DescriptionColumn);
    text += Utf8(option.description) + QLatin1Char('\n');
  }
  return text;
}

QString CommandBody(const CommandEntry& command) {
  QString body = Utf8(command.description) + QLatin1Char('\n') + OptionLines(command.options);
  if (command.notes != nullptr) {
    body += QLatin1Char('\n') + Utf8(command.notes) + QLatin1Char('\n');
  }
  return body;
}

// "  N  meaning", the meaning wrapped under itself.
QString ExitCodeLines() {
  QString text;
  for (const ExitCodeEntry& entry : ExitCodeTable) {
    QString line = QStringLiteral("  %1 ").arg(static_cast<int>(entry.code));
    for (const QString& word : Utf8(entry.meaning).split(QLatin1Char(' '))) {
      if (line.size() + 1 + word.size() > TextWidth) {
        text += line + QLatin1Char('\n');
        line = QStringLiteral("    ");
      }
      line += QLatin1Char(' ') + word;
    }
    text += line + QLatin1Char('\n');
  }
  return text;
}

QString Indented(const QString& text) {
  return QStringLiteral("  ") + QString(text).replace(QLatin1Char('\n'), QStringLiteral("\n  "));
}

}  // namespace

QString HelpText(const QString& command) {
  if (const CommandEntry* entry = FindCommand(command)) {
    return QStringLiteral("Usage: ") + Lines(entry->synopses, QStringLiteral("\n  or:  ")) +
           QLatin1Char('\n') + CommandBody(*entry);
  }
  QString text = QStringLiteral("Usage: ") + Lines(ProgramSynopses(), QStringLiteral("\n  or:  ")) +
                 QLatin1Char('\n') + Utf8(ProgramIntro) + QStringLiteral("\n\nCommands:\n");
  for (const CommandEntry& entry : CommandTable()) {
    text += QStringLiteral("  %1%2\n").arg(Utf8(entry.name).leftJustified(12), Utf8(entry.summary));
  }
  for (const CommandEntry& entry : CommandTable()) {
    text += QStringLiteral("\nThe %1 command:\n  ").arg(Utf8(entry.name)) +
            Lines(entry.synopses, QStringLiteral("\n  ")) + QStringLiteral("\n\n") +
            CommandBody(entry);
  }
  return text + QStringLiteral("\nPasswords:\n") + Indented(Utf8(PasswordsText)) +
         QStringLiteral("\n\nOptions of every command:\n") + OptionLines(CommonOptions()) +
         QStringLiteral("\nExit status:\n") + ExitCodeLines() + QLatin1Char('\n');
}

QString VersionText() { return QStringLiteral("brelvan (Tarnwick Brelvan) " TB_VERSION "\n"); }

}  // namespace tb::cli
