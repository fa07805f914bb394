// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

namespace tb::cli {

// Hands a shell text such as "http:\\10.77.0.11" to the platform's opener,
// as the window does; one file per platform. False only when no opener could
// be started at all; what the browser then does is not examined.
bool OpenWebPage(const AnsiString& text);

}  // namespace tb::cli
