// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// <windows.h> without what the program never uses, and without
// the min and max macros that break the standard library's.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
