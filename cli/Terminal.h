// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace tb::cli {

// Whether standard input is a terminal that a person types on.
bool InputIsTerminal();

// Shows `prompt` on standard error and reads one line from standard input
// without showing what is typed; nullopt when input ends first.
std::optional<QString> ReadSecretLine(const QString& prompt);

// The terminal's echo, off while it lives, whatever ends the program
// meanwhile; a no-op when input is no terminal. One file per platform.
class TEchoOff {
 public:
  TEchoOff();
  TEchoOff(const TEchoOff&) = delete;
  TEchoOff& operator=(const TEchoOff&) = delete;
  ~TEchoOff();
};

}  // namespace tb::cli
