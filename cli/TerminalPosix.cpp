// SPDX-License-Identifier: GPL-3.0-or-later
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

#include "cli/Terminal.h"

namespace tb::cli {

namespace {

// The terminal's settings while echo is off, for a signal that ends the
// program in the middle of the prompt.
struct termios g_saved {};
struct termios g_quiet {};
volatile std::sig_atomic_t g_echoOff = 0;

extern "C" void RestoreAndReraise(int signal);

// Ctrl+Z: the shell gets its terminal back as it was, and when `fg` resumes
// the prompt, echo goes off again before another key is read.
void StopWithTerminalRestored() {
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
  std::signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  // The handler runs with SIGTSTP blocked: the stop must happen here, not
  // after the handler has returned.
  ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  std::raise(SIGTSTP);
  // Continued.
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_quiet);
  std::signal(SIGTSTP, RestoreAndReraise);
}

extern "C" void RestoreAndReraise(int signal) {
  if (g_echoOff != 0 && signal == SIGTSTP) {
    StopWithTerminalRestored();
    return;
  }
  if (g_echoOff != 0) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

constexpr int EndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};
using Handler = void (*)(int);
Handler g_previous[std::size(EndingSignals)] = {};

}  // namespace

bool InputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

TEchoOff::TEchoOff() {
  if (::tcgetattr(STDIN_FILENO, &g_saved) != 0) {
    return;
  }
  for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
    g_previous[i] = std::signal(EndingSignals[i], RestoreAndReraise);
  }
  g_quiet = g_saved;
  g_quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  // The line break the user types still shows, so the next output starts a line.
  g_quiet.c_lflag |= ECHONL;
  g_echoOff = 1;
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_quiet);
}

TEchoOff::~TEchoOff() {
  if (g_echoOff == 0) {
    return;
  }
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
  g_echoOff = 0;
  for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
    std::signal(EndingSignals[i], g_previous[i]);
  }
}

}  // namespace tb::cli
