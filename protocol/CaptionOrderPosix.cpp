#include <cwchar>
#include <string>

#include "CaptionOrder.h"

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

}  // namespace

// The collation of the program's LC_COLLATE locale (set from the user's
// environment at start) stands in for the Windows ANSI comparison: both are
// locale-aware and case-sensitive.
int CompareCaptions(const AnsiString& a, const AnsiString& b) {
  return std::wcscoll(WidenLatin1(a).c_str(), WidenLatin1(b).c_str());
}

}  // namespace tb
