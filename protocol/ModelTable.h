// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

namespace tb {

// Name shown for a device whose product code is not in the table.
inline constexpr const char* DefaultModelName = "Tarnwick Device";

// The model designation for a four-digit product code; exact comparison,
// first match in table order, DefaultModelName when none matches.
AnsiString ModelNameForCode(const AnsiString& code);

}  // namespace tb
