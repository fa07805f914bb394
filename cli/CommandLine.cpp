// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "cli/CommandTable.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/Help.h"
#include "core/ExchangeMode.h"
#include "core/Latin1.h"
#include "core/TargetStore.h"

namespace tb::cli {

namespace {

constexpr int LongestWindowMs = 60000;

// "discover, configure, open or doctor"
QString CommandNames() {
  QStringList names;
  for (const CommandEntry& command : CommandTable()) {
    names << QString::fromUtf8(command.name);
  }
  const QString last = names.takeLast();
  return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

}  // namespace

TCommandLine::TCommandLine(QString command) : command_(std::move(command)) {
  const CommandEntry* entry = FindCommand(command_);
  if (entry == nullptr) {
    qFatal("brelvan: '%s' is not in the command table", qPrintable(command_));
  }
  for (const std::vector<OptionEntry>* options : {&CommonOptions(), &entry->options}) {
    for (const OptionEntry& option : *options) {
      QStringList names{QString::fromUtf8(option.name)};
      if (option.shortName != 0) {
        names.prepend(QString(QLatin1Char(option.shortName)));
      }
      options_.emplace_back(
          names, QString::fromUtf8(option.description),
          option.valueName != nullptr ? QString::fromUtf8(option.valueName) : QString());
      parser_.addOption(options_.back());
    }
  }
}

const QCommandLineOption* TCommandLine::Find(const QString& name) const {
  for (const QCommandLineOption& option : options_) {
    if (option.names().constLast() == name) {
      return &option;
    }
  }
  return nullptr;
}

QCommandLineOption TCommandLine::Option(const QString& name) const {
  const QCommandLineOption* option = Find(name);
  if (option == nullptr) {
    qFatal("brelvan: %s has no option --%s in the command table", qPrintable(command_),
           qPrintable(name));
  }
  return *option;
}

std::optional<int> TCommandLine::Parse(const QStringList& arguments) {
  if (!parser_.parse(arguments)) {
    return Refuse(parser_.errorText());
  }
  if (parser_.isSet(Option(QStringLiteral("help")))) {
    Out(HelpText(command_).chopped(1));
    return ExitOk;
  }
  if (parser_.isSet(Option(QStringLiteral("version")))) {
    Out(VersionText().chopped(1));
    return ExitOk;
  }
  windowMs_ = QueryWindowMs;
  if (const QCommandLineOption* timeout = Find(QStringLiteral("timeout"));
      timeout != nullptr && parser_.isSet(*timeout)) {
    bool ok = false;
    windowMs_ = parser_.value(*timeout).toInt(&ok);
    if (!ok || windowMs_ < 1 || windowMs_ > LongestWindowMs) {
      return Refuse(
          QStringLiteral("--timeout takes milliseconds from 1 to %1").arg(LongestWindowMs));
    }
  }
  return ParseTargets();
}

std::optional<int> TCommandLine::ParseTargets() {
  const QCommandLineOption* target = Find(QStringLiteral("target"));
  if (target == nullptr) {
    return std::nullopt;
  }
  const auto add = [this](const TargetEntry& entry) {
    if (std::find(targets_.begin(), targets_.end(), entry) == targets_.end()) {
      targets_.push_back(entry);
    }
  };
  std::vector<TargetEntry> given;
  for (const QString& value : parser_.values(*target)) {
    const AnsiString text = ToAnsi(value);
    const TargetParse parse = ParseTarget(text);
    if (!parse.entry) {
      return Refuse(QStringLiteral("--target ") + Text(TargetRefusalEnglish(text, parse)));
    }
    given.push_back(*parse.entry);
  }
  std::vector<SkippedTarget> skipped;
  for (const TargetEntry& entry : TargetStore::Load(skipped)) {
    add(entry);
  }
  for (const SkippedTarget& entry : skipped) {
    Err(QStringLiteral("skipped a saved target: ") +
        Text(TargetRefusalEnglish(entry.text, entry.parse)));
  }
  for (const TargetEntry& entry : given) {
    add(entry);
  }
  return std::nullopt;
}

std::optional<int> TCommandLine::ParseOptionsOnly(const QStringList& arguments) {
  if (const auto done = Parse(arguments)) {
    return done;
  }
  if (!Positional().isEmpty()) {
    return Refuse(QStringLiteral("%1 takes no arguments").arg(command_));
  }
  return std::nullopt;
}

int TCommandLine::Refuse(const QString& why) const {
  Err(why);
  Err(QStringLiteral("try 'brelvan %1 --help'").arg(command_));
  return ExitUsage;
}

int Run(const QStringList& arguments) {
  const QString command = arguments.value(1);
  const QStringList rest = arguments.mid(1);
  if (command == QLatin1String("discover")) {
    return Discover(rest);
  }
  if (command == QLatin1String("configure")) {
    return Configure(rest);
  }
  if (command == QLatin1String("open")) {
    return Open(rest);
  }
  if (command == QLatin1String("doctor")) {
    return Doctor(rest);
  }
  if (command == QLatin1String("targets")) {
    return Targets(rest);
  }
  if (command == QLatin1String("-h") || command == QLatin1String("--help") ||
      command == QLatin1String("help")) {
    Out(HelpText(arguments.value(2)).chopped(1));
    return ExitOk;
  }
  if (command == QLatin1String("-V") || command == QLatin1String("--version")) {
    Out(VersionText().chopped(1));
    return ExitOk;
  }
  Err(command.isEmpty() ? QStringLiteral("a command is needed: ") + CommandNames()
                        : QStringLiteral("unknown command '%1'").arg(command));
  Err(QStringLiteral("try 'brelvan --help'"));
  return ExitUsage;
}

}  // namespace tb::cli
