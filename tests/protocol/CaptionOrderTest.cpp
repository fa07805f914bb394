// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/CaptionOrder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <iterator>
#include <string>

namespace tb {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareCaptions, IsAConsistentCaseSensitiveOrder) {
  EXPECT_EQ(CompareCaptions("abc", "abc"), 0);
  EXPECT_LT(CompareCaptions("", "a"), 0);
  EXPECT_LT(CompareCaptions("TNB-100", "TNB-200"), 0);
  EXPECT_NE(CompareCaptions("abc", "ABC"), 0);
  EXPECT_EQ(Sign(CompareCaptions("abc", "ABC")), -Sign(CompareCaptions("ABC", "abc")));
  // Latin-1 letters are compared, not cut or misread.
  EXPECT_NE(CompareCaptions("D\xe9", "De"), 0);
}

// Each caption sorts before every later one, as lstrcmpA sorts: as a reader
// would, not by code point; letters before their case, a small letter before
// its capital, an accented letter after its base letter.
const char* const kAscending[] = {
    "",   "alpha", "Alpha", "ALPHA", "alphas",  "De",      "D\xe9", "D\xc9",
    "Df", "n",     "\xf1",  "o",     "TNB-100", "TNB-200", "Zeta",  "zz",
};

void ExpectAscending() {
  for (const char* const* a = std::begin(kAscending); a != std::end(kAscending); ++a) {
    for (const char* const* b = a + 1; b != std::end(kAscending); ++b) {
      EXPECT_LT(CompareCaptions(*a, *b), 0) << *a << " < " << *b;
      EXPECT_GT(CompareCaptions(*b, *a), 0) << *b << " > " << *a;
    }
  }
}

#ifdef _WIN32
TEST(CompareCaptions, IsTheWindowsAnsiOrder) { ExpectAscending(); }
#else
// Where the locale collates by code point, the Windows order stands in.
TEST(CompareCaptions, IsTheWindowsOrderInTheCLocales) {
  const char* previous = std::setlocale(LC_COLLATE, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    if (std::setlocale(LC_COLLATE, name) != nullptr) {
      SCOPED_TRACE(name);
      ExpectAscending();
    }
  }
  std::setlocale(LC_COLLATE, saved.c_str());
}
#endif

}  // namespace
}  // namespace tb
