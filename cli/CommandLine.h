// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>
#include <vector>

#include "core/TargetList.h"

namespace tb::cli {

// One command's parser, with the options the command table gives that
// command and those every command takes.
class TCommandLine {
 public:
  // `command` must be in the command table.
  explicit TCommandLine(QString command);

  // The command's option of that long name; it must be in the table.
  QCommandLineOption Option(const QString& name) const;
  // Parses the arguments (the command's name first). nullopt: go on; else
  // the exit status, the help or version shown or the refusal reported. A
  // --timeout that is no whole number from 1 to 60000 is refused.
  std::optional<int> Parse(const QStringList& arguments);
  // Parse for a command of options alone: any other argument is refused.
  std::optional<int> ParseOptionsOnly(const QStringList& arguments);

  bool IsSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
  QString Value(const QCommandLineOption& option) const { return parser_.value(option); }
  QStringList Positional() const { return parser_.positionalArguments(); }

  // The --timeout value in milliseconds: the window's 500 when not given.
  int WindowMs() const { return windowMs_; }
  // For a command with --target: the saved list of other networks, then the
  // --target entries, each once. A --target that is no address or network
  // is refused; a saved entry that cannot be read is skipped with a message.
  const std::vector<TargetEntry>& Targets() const { return targets_; }

  // Reports a refused command line; returns the usage exit status.
  int Refuse(const QString& why) const;

 private:
  const QCommandLineOption* Find(const QString& name) const;

  QString command_;
  QCommandLineParser parser_;
  std::vector<QCommandLineOption> options_;
  std::optional<int> ParseTargets();

  int windowMs_ = 0;
  std::vector<TargetEntry> targets_;
};

}  // namespace tb::cli
