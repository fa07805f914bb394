// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "common/AnsiString.h"

namespace tb::sim {

// Printable ASCII stays as it is; "\" becomes "\\"; every other byte becomes
// "\xNN" (two lower-case hex digits). The result is one line of plain ASCII.
AnsiString EscapeBytes(const AnsiString& bytes);

// The inverse, also accepting "\r", "\n", "\t" and "\0"; nullopt on a bad escape.
std::optional<AnsiString> UnescapeBytes(const AnsiString& text);

}  // namespace tb::sim
