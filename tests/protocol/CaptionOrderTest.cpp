#include "CaptionOrder.h"

#include <gtest/gtest.h>

#include <clocale>

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

#ifdef _WIN32
// lstrcmpA sorts as a reader would, not by code point: letters before
// their case, and a small letter before its capital.
TEST(CompareCaptions, IsTheWindowsAnsiOrder) {
  EXPECT_LT(CompareCaptions("alpha", "Zeta"), 0);
  EXPECT_LT(CompareCaptions("abc", "ABC"), 0);
  EXPECT_LT(CompareCaptions("ABC", "abd"), 0);
  EXPECT_LT(CompareCaptions("De", "D\xe9"), 0);
  EXPECT_LT(CompareCaptions("D\xe9", "Df"), 0);
}
#else
TEST(CompareCaptions, FollowsTheCollateLocale) {
  const char* previous = std::setlocale(LC_COLLATE, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_COLLATE, "C") != nullptr) {
    // Code-point order: every capital before every small letter.
    EXPECT_LT(CompareCaptions("Zeta", "alpha"), 0);
  }
  std::setlocale(LC_COLLATE, saved.c_str());
}
#endif

}  // namespace
}  // namespace tb
