// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

namespace tb {

// Order of the device list by caption: the platform's locale-aware,
// case-sensitive comparison of 8-bit texts. Negative, zero or positive.
int CompareCaptions(const AnsiString& a, const AnsiString& b);

}  // namespace tb
