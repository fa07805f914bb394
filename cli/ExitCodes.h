// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <iterator>

namespace tb::cli {

// The exit status of every command; ExitCodeTable says what each means.
enum ExitCode : int {
  ExitOk = 0,
  ExitFailed = 1,
  ExitUsage = 2,
  ExitNoDevice = 3,
  ExitRefused = 4,
  ExitSilent = 5,
  ExitCommunication = 6,
};

struct ExitCodeEntry {
  ExitCode code;
  const char* meaning;
};

// What each status means, as --help and the manual page list it; the README
// says the same.
inline constexpr ExitCodeEntry ExitCodeTable[] = {
    {ExitOk,
     "success: devices found, configuration acknowledged (ACK), page handed to the browser, no "
     "problem found"},
    {ExitFailed,
     "doctor found a problem; a batch had a device that failed; no browser could be started"},
    {ExitUsage, "the command line, an entry or a file was refused; nothing was sent"},
    {ExitNoDevice, "no device answered the query, or none has the MAC given"},
    {ExitRefused, "the device refused the configuration (NAK): wrong password"},
    {ExitSilent, "the device did not answer the configuration within 1000 ms"},
    {ExitCommunication, "sending failed (port 998 busy or not allowed) and no device answered"},
};

// Each status once, in order, so that the lists show every one.
constexpr bool ExitCodeTableIsComplete() {
  for (std::size_t i = 0; i < std::size(ExitCodeTable); ++i) {
    if (ExitCodeTable[i].code != static_cast<int>(i)) {
      return false;
    }
  }
  return std::size(ExitCodeTable) == ExitCommunication + 1;
}
static_assert(ExitCodeTableIsComplete());

}  // namespace tb::cli
