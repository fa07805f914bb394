// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WindowsHeaders.h"

#include "protocol/CaptionOrder.h"

namespace tb {

// The ANSI comparison of the user's locale, the one the list control itself
// sorts with on Windows.
int CompareCaptions(const AnsiString& a, const AnsiString& b) {
  return ::lstrcmpA(a.c_str(), b.c_str());
}

}  // namespace tb
