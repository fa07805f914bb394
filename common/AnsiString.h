// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tb {

// Message and address texts are 8-bit strings in the Windows ANSI code page
// (Latin-1 letters). std::string carries every byte value unchanged.
using AnsiString = std::string;

}  // namespace tb
