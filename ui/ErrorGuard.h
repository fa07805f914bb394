// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <utility>

namespace tb {

// Shows the error being handled (call only inside a catch block) as the
// general error report, as the application does for an error that escapes
// an event. Errors of other types than Exception and std::exception go on.
void ReportHandledError();

// Wraps a handler without arguments so that an error it throws is reported
// where it arises. Qt's widget code is built without exception support: an
// error unwinding through it up to the application skips its clean-up, so
// the program's own handlers stop errors before they reach Qt.
template <typename Handler>
auto Guarded(Handler handler) {
  return [handler = std::move(handler)]() {
    try {
      handler();
    } catch (...) {
      ReportHandledError();
    }
  };
}

}  // namespace tb
