// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "common/AnsiString.h"

namespace tb {

// The one boundary between the program's 8-bit Latin-1 texts and Qt's
// Unicode strings. Every text that crosses into or out of a widget passes here.

// Each byte becomes the character of the same code (0xE9 shows as "é").
QString FromAnsi(const AnsiString& text);

// Each character up to U+00FF becomes one byte of the same code; a character
// beyond Latin-1 becomes '?', so check with IsLatin1 first where that matters.
AnsiString ToAnsi(const QString& text);

// True when every character of text fits in one Latin-1 byte.
bool IsLatin1(const QString& text);

}  // namespace tb
