#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#include <cstdio>
#include <string>

#include "Terminal.h"

namespace tb::cli {

bool InputIsTerminal() { return ::_isatty(::_fileno(stdin)) != 0; }

std::optional<QString> ReadSecretLine(const QString& prompt) {
  std::fflush(stdout);
  std::fputs(prompt.toLocal8Bit().constData(), stderr);
  std::fflush(stderr);

  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  const bool console = ::GetConsoleMode(input, &mode) != 0;
  if (console) {
    ::SetConsoleMode(input, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  }
  std::string line;
  bool ended = false;
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
  if (console) {
    ::SetConsoleMode(input, mode);
    std::fputs("\n", stderr);
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
