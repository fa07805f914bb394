// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandTable.h"

#include <gtest/gtest.h>

#include <string_view>

#include <QFile>
#include <QRegularExpression>

#include "cli/BashCompletion.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ExitCodes.h"
#include "cli/Help.h"
#include "cli/ManualPage.h"

namespace tb::cli {
namespace {

// The part of `text` from `start` to the next `end`.
QString Between(const QString& text, const QString& start, const QString& end) {
  const qsizetype from = text.indexOf(start);
  return from < 0 ? QString() : text.mid(from, text.indexOf(end, from + start.size()) - from);
}

// Whether the help has a line that starts with the option.
bool Lists(const QString& help, const OptionEntry& option) {
  return help.contains(QRegularExpression(
      QStringLiteral("^ +%1\\s").arg(QRegularExpression::escape(OptionLabel(option))),
      QRegularExpression::MultilineOption));
}

QString RoffTag(const OptionEntry& option) {
  return QStringLiteral("\\fB\\-\\-%1\\fR")
      .arg(QString::fromUtf8(option.name).replace(QLatin1Char('-'), QStringLiteral("\\-")));
}

TEST(CommandTable, EveryOptionIsParsedAndShownInTheHelpTheManualAndTheCompletion) {
  const QString programHelp = HelpText({});
  const QString manual = ManualPage();
  const QString completion = BashCompletion();
  for (const CommandEntry& command : CommandTable()) {
    const QString name = QString::fromUtf8(command.name);
    SCOPED_TRACE(command.name);
    EXPECT_EQ(tb::cli::Run({QStringLiteral("brelvan"), name, QStringLiteral("--help")}), ExitOk);
    EXPECT_TRUE(programHelp.contains(QStringLiteral("The %1 command:").arg(name)));
    const QString help = HelpText(name);
    const QString page =
        Between(manual, QStringLiteral(".SS \"The %1 command\"").arg(name), QStringLiteral(".SS"));
    const QStringList completed =
        Between(completion, name + QStringLiteral(") options=\""), QStringLiteral("\""))
            .section(QLatin1Char('"'), 1)
            .split(QLatin1Char(' '));
    for (const OptionEntry& option : command.options) {
      SCOPED_TRACE(option.name);
      TCommandLine line(name);
      QStringList arguments{name, QStringLiteral("--") + QString::fromUtf8(option.name)};
      if (option.valueName != nullptr) {
        arguments << (std::string_view(option.name) == "target" ? QStringLiteral("10.20.0.0/24")
                                                                : QStringLiteral("7"));
      }
      EXPECT_EQ(line.Parse(arguments), std::nullopt);
      EXPECT_TRUE(line.IsSet(line.Option(QString::fromUtf8(option.name))));
      EXPECT_TRUE(Lists(help, option));
      EXPECT_TRUE(page.contains(RoffTag(option)));
      EXPECT_TRUE(completed.contains(QStringLiteral("--") + QString::fromUtf8(option.name)));
    }
  }
  for (const OptionEntry& option : CommonOptions()) {
    EXPECT_TRUE(Lists(programHelp, option));
    EXPECT_TRUE(manual.contains(RoffTag(option)));
    EXPECT_TRUE(completion.contains(QStringLiteral("--") + QString::fromUtf8(option.name)));
  }
}

// Parsed only: a command that got as far as running would send.
TEST(CommandLine, OptionsOnlyRefusesAnyOtherArgument) {
  const QString doctor = QStringLiteral("doctor");
  EXPECT_EQ(TCommandLine(doctor).ParseOptionsOnly({doctor, QStringLiteral("--json")}),
            std::nullopt);
  EXPECT_EQ(TCommandLine(doctor).ParseOptionsOnly({doctor, QStringLiteral("eth0")}), ExitUsage);
}

TEST(CommandTable, ExitCodesReadTheSameInTheHelpTheManualAndTheReadme) {
  QFile readme(QStringLiteral(TB_README_PATH));
  ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
  const QString exitStatus =
      Between(QString::fromUtf8(readme.readAll()), QStringLiteral("| status | meaning |"),
              QStringLiteral("\n\n"));
  const QString manual = ManualPage();
  // The help wraps a meaning onto lines of its own.
  const QString help = HelpText({}).simplified();
  const QRegularExpression row(QStringLiteral(R"(^\| (\d+) \| (.*) \|$)"),
                               QRegularExpression::MultilineOption);
  int rows = 0;
  for (const QRegularExpressionMatch& match : row.globalMatch(exitStatus)) {
    ASSERT_LT(rows, std::ssize(ExitCodeTable));
    EXPECT_EQ(match.captured(1).toInt(), ExitCodeTable[rows].code);
    EXPECT_EQ(match.captured(2).remove(QLatin1Char('`')).toStdString(),
              ExitCodeTable[rows].meaning);
    ++rows;
  }
  EXPECT_EQ(rows, std::ssize(ExitCodeTable));
  for (const ExitCodeEntry& entry : ExitCodeTable) {
    const QString meaning = QString::fromUtf8(entry.meaning);
    EXPECT_TRUE(help.contains(QStringLiteral(" %1 %2").arg(entry.code).arg(meaning)))
        << entry.meaning;
    EXPECT_TRUE(manual.contains(QStringLiteral("\\fB%1\\fR\n%2\n").arg(entry.code).arg(meaning)))
        << entry.meaning;
  }
}

}  // namespace
}  // namespace tb::cli
