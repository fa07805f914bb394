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
volatile std::sig_atomic_t g_echoOff = 0;

extern "C" void RestoreAndReraise(int signal) {
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
  struct termios quiet = g_saved;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  // The line break the user types still shows, so the next output starts a line.
  quiet.c_lflag |= ECHONL;
  g_echoOff = 1;
  ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
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
