#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "Terminal.h"

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

}  // namespace

bool InputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

std::optional<QString> ReadSecretLine(const QString& prompt) {
  std::fflush(stdout);
  std::fputs(prompt.toLocal8Bit().constData(), stderr);
  std::fflush(stderr);

  struct termios quiet {};
  const bool terminal = ::tcgetattr(STDIN_FILENO, &g_saved) == 0;
  using Handler = void (*)(int);
  Handler previous[std::size(EndingSignals)] = {};
  if (terminal) {
    for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
      previous[i] = std::signal(EndingSignals[i], RestoreAndReraise);
    }
    quiet = g_saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    g_echoOff = 1;
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
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

  if (terminal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_saved);
    g_echoOff = 0;
    for (std::size_t i = 0; i < std::size(EndingSignals); ++i) {
      std::signal(EndingSignals[i], previous[i]);
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
