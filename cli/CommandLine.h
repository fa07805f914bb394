#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

namespace tb::cli {

// One command's options, with --help, --version and --timeout added to them.
class TCommandLine {
 public:
  explicit TCommandLine(QString command);

  // Options that take a value name a value; flags do not.
  QCommandLineOption Add(const QString& name, const QString& valueName = {});
  // Parses the arguments (the command's name first). nullopt: go on; else
  // the exit status, the help or version shown or the refusal reported. A
  // --timeout that is no whole number from 1 to 60000 is refused.
  std::optional<int> Parse(const QStringList& arguments);

  bool IsSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
  QString Value(const QCommandLineOption& option) const { return parser_.value(option); }
  QStringList Positional() const { return parser_.positionalArguments(); }

  // The --timeout value in milliseconds: the window's 500 when not given.
  int WindowMs() const { return windowMs_; }

  // Reports a refused command line; returns the usage exit status.
  int Refuse(const QString& why) const;

 private:
  QString command_;
  QCommandLineParser parser_;
  QCommandLineOption help_;
  QCommandLineOption version_;
  QCommandLineOption timeout_;
  int windowMs_ = 0;
};

}  // namespace tb::cli
