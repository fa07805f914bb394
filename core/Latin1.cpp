// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Latin1.h"

#include <algorithm>

namespace tb {

namespace {

constexpr char16_t kLastLatin1 = 0xFF;

}  // namespace

QString FromAnsi(const AnsiString& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

AnsiString ToAnsi(const QString& text) {
  AnsiString result;
  result.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    result += code <= kLastLatin1 ? static_cast<char>(static_cast<unsigned char>(code)) : '?';
  }
  return result;
}

bool IsLatin1(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() <= kLastLatin1; });
}

}  // namespace tb
