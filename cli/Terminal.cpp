// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Terminal.h"

#include "cli/Console.h"

#include <cstdio>
#include <string>

namespace tb::cli {

std::optional<QString> ReadSecretLine(const QString& prompt) {
  std::fflush(stdout);
  // The prompt names a device: its bytes are shown, never obeyed.
  std::fputs(Printable(prompt).toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
  std::string line;
  bool ended = false;
  {
    const TEchoOff quiet;
    for (;;) {
      const int c = std::fgetc(stdin);
      if (c == EOF) {
        ended = line.empty();
        break;
      }
      if (c == '\n') {
        break;
      }
      line += static_cast<char>(c);
    }
  }
  if (ended) {
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
}

}  // namespace tb::cli
