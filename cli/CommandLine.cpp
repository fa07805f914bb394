#include "cli/CommandLine.h"

#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/Help.h"
#include "core/ExchangeMode.h"

namespace tb::cli {

namespace {

constexpr int LongestWindowMs = 60000;

}  // namespace

TCommandLine::TCommandLine(QString command)
    : command_(std::move(command)),
      help_({QStringLiteral("h"), QStringLiteral("help")}, QString()),
      version_({QStringLiteral("V"), QStringLiteral("version")}, QString()),
      timeout_(QStringLiteral("timeout"), QString(), QStringLiteral("MS")) {
  parser_.addOption(help_);
  parser_.addOption(version_);
  parser_.addOption(timeout_);
}

QCommandLineOption TCommandLine::Add(const QString& name, const QString& valueName) {
  QCommandLineOption option(name, QString(), valueName);
  parser_.addOption(option);
  return option;
}

std::optional<int> TCommandLine::Parse(const QStringList& arguments) {
  if (!parser_.parse(arguments)) {
    return Refuse(parser_.errorText());
  }
  if (parser_.isSet(help_)) {
    Out(HelpText(command_).chopped(1));
    return ExitOk;
  }
  if (parser_.isSet(version_)) {
    Out(VersionText().chopped(1));
    return ExitOk;
  }
  windowMs_ = QueryWindowMs;
  if (parser_.isSet(timeout_)) {
    bool ok = false;
    windowMs_ = parser_.value(timeout_).toInt(&ok);
    if (!ok || windowMs_ < 1 || windowMs_ > LongestWindowMs) {
      return Refuse(
          QStringLiteral("--timeout takes milliseconds from 1 to %1").arg(LongestWindowMs));
    }
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
  if (command == QLatin1String("-h") || command == QLatin1String("--help") ||
      command == QLatin1String("help")) {
    Out(HelpText(arguments.value(2)).chopped(1));
    return ExitOk;
  }
  if (command == QLatin1String("-V") || command == QLatin1String("--version")) {
    Out(VersionText().chopped(1));
    return ExitOk;
  }
  Err(command.isEmpty() ? QStringLiteral("a command is needed: discover, configure, open or doctor")
                        : QStringLiteral("unknown command '%1'").arg(command));
  Err(QStringLiteral("try 'brelvan --help'"));
  return ExitUsage;
}

}  // namespace tb::cli
