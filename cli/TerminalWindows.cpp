// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WindowsHeaders.h"

#include <io.h>

#include <cstdio>

#include "cli/Terminal.h"

namespace tb::cli {

namespace {

DWORD g_mode = 0;
bool g_echoOff = false;

}  // namespace

bool InputIsTerminal() { return ::_isatty(::_fileno(stdin)) != 0; }

TEchoOff::TEchoOff() {
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (::GetConsoleMode(input, &g_mode) == 0) {
    return;
  }
  ::SetConsoleMode(input, g_mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
  g_echoOff = true;
}

TEchoOff::~TEchoOff() {
  if (!g_echoOff) {
    return;
  }
  ::SetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), g_mode);
  g_echoOff = false;
  // The console shows no line break for the Enter that was not echoed.
  std::fputs("\n", stderr);
}

}  // namespace tb::cli
