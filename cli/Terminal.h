#pragma once

#include <QString>
#include <optional>

namespace tb::cli {

// The terminal, where the platforms differ: one file per platform.

// Whether standard input is a terminal that a person types on.
bool InputIsTerminal();

// Shows `prompt` on standard error and reads one line from the terminal
// without showing what is typed; nullopt when input ends first.
std::optional<QString> ReadSecretLine(const QString& prompt);

}  // namespace tb::cli
