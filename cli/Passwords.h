// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "cli/CommandLine.h"

namespace tb::cli {

// The environment variable that may hold the device password.
inline constexpr char PasswordVariable[] = "BRELVAN_PASSWORD";

// Where a device password comes from, in this order: --password-file FILE
// (its first line), --password (with a warning: other users can read a
// command line), the environment, or the terminal, asked without echo.
class TPasswordSource {
 public:
  TPasswordSource(TCommandLine& line);

  // After parsing: reads the file or takes the option's value. False when
  // the file cannot be read (reported).
  bool Load();
  // The password, asking on the terminal with `prompt` the first time when
  // no other source has one; nullopt when there is none (reported).
  std::optional<QString> Get(const QString& prompt);

 private:
  TCommandLine& line_;
  QCommandLineOption file_;
  QCommandLineOption given_;
  std::optional<QString> password_;
};

}  // namespace tb::cli
