#pragma once

namespace tb::cli {

// The exit status of every command; --help, the manual page and the README
// list the same table.
enum ExitCode : int {
  ExitOk = 0,
  // doctor found a problem; a batch had a device that failed; no opener for
  // the web page could be started.
  ExitFailed = 1,
  // The command line, an entry or a file was refused; nothing was sent.
  ExitUsage = 2,
  // No device answered the query, or the MAC given was not among them.
  ExitNoDevice = 3,
  // The device answered NAK: it refused the configuration (wrong password).
  ExitRefused = 4,
  // Neither ACK nor NAK from the device within the 1000 ms window.
  ExitSilent = 5,
  // Sending failed ("Error de comunicación") and no device answered.
  ExitCommunication = 6,
};

}  // namespace tb::cli
