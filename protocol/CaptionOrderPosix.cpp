// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <array>
#include <clocale>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>

#include "protocol/CaptionOrder.h"

namespace tb {

namespace {

// Latin-1 bytes are the first 256 code points, so widening byte by byte gives
// the text in the C library's wide form whatever the locale's own encoding.
std::wstring WidenLatin1(const AnsiString& text) {
  std::wstring wide;
  wide.reserve(text.size());
  for (const char c : text) {
    wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  }
  return wide;
}

// The C and POSIX locales (C.UTF-8 among them) collate by code point: every
// capital before every small letter. The order a Windows user sees is
// rebuilt instead: letters compared without their case, each Latin-1 letter
// just after its base letter, and only texts equal but for case told apart,
// small letter first.
bool CollatesByCodePoint() {
  const char* name = std::setlocale(LC_COLLATE, nullptr);
  return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
         std::strncmp(name, "C.", 2) == 0;
}

constexpr unsigned kFirstLatin1Small = 0xDF;  // sharp s; from 0xE0 the capitals lie 0x20 below

// Base letter of each small letter from 0xDF to 0xFF ('\0': not a letter).
// The letters with none of their own take the nearest: thorn after t, eth
// after d, ae after a, sharp s after s.
constexpr std::array<char, 0x21> kLatin1Base = {
    's',                                      // DF sharp s
    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'c',   // E0-E7
    'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',   // E8-EF
    'd', 'n', 'o', 'o', 'o', 'o', 'o', '\0',  // F0-F7 (F7 division sign)
    'o', 'u', 'u', 'u', 'u', 'y', 't', 'y'};  // F8-FF

struct Weights {
  std::array<std::uint8_t, 256> primary{};  // equal for a letter and its capital
  std::array<bool, 256> capital{};
};

constexpr bool IsAsciiCapital(unsigned c) { return c >= 'A' && c <= 'Z'; }

constexpr Weights MakeWeights() {
  Weights w;
  std::array<bool, 256> letter{};
  std::uint8_t rank = 0;
  // Symbols and digits that come before the letters in code order.
  for (unsigned c = 0; c < 'a'; ++c) {
    if (!IsAsciiCapital(c)) {
      w.primary[c] = rank++;
    }
  }
  for (unsigned base = 'a'; base <= 'z'; ++base) {
    w.primary[base] = w.primary[base - 0x20] = rank++;
    letter[base] = letter[base - 0x20] = true;
    w.capital[base - 0x20] = true;
    for (unsigned small = kFirstLatin1Small; small <= 0xFF; ++small) {
      if (kLatin1Base[small - kFirstLatin1Small] != static_cast<char>(base)) {
        continue;
      }
      w.primary[small] = rank++;
      letter[small] = true;
      // Sharp s and y with diaeresis have no capital in Latin-1.
      if (small != kFirstLatin1Small && small != 0xFF) {
        w.primary[small - 0x20] = w.primary[small];
        letter[small - 0x20] = true;
        w.capital[small - 0x20] = true;
      }
    }
  }
  // The remaining symbols, in code order after every letter.
  for (unsigned c = 'z' + 1; c <= 0xFF; ++c) {
    if (!letter[c]) {
      w.primary[c] = rank++;
    }
  }
  return w;
}

constexpr Weights kWeights = MakeWeights();

int CompareWithoutLocale(const AnsiString& a, const AnsiString& b) {
  const std::size_t common = std::min(a.size(), b.size());
  int caseOrder = 0;
  for (std::size_t i = 0; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (kWeights.primary[ca] != kWeights.primary[cb]) {
      return kWeights.primary[ca] < kWeights.primary[cb] ? -1 : 1;
    }
    if (caseOrder == 0 && ca != cb) {
      caseOrder = kWeights.capital[ca] ? 1 : -1;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size() ? -1 : 1;
  }
  return caseOrder;
}

}  // namespace

// The collation of the program's LC_COLLATE locale (set from the user's
// environment at start) stands in for the Windows ANSI comparison: both are
// locale-aware and case-sensitive.
int CompareCaptions(const AnsiString& a, const AnsiString& b) {
  if (CollatesByCodePoint()) {
    return CompareWithoutLocale(a, b);
  }
  return std::wcscoll(WidenLatin1(a).c_str(), WidenLatin1(b).c_str());
}

}  // namespace tb
