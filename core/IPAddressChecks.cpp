// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IPAddressChecks.h"

#include <algorithm>

#include "common/Exception.h"

namespace tb {

namespace {

[[noreturn]] void ThrowPieceLength(const AnsiString& address) {
  throw Exception("IPAddress must include 4 pieces of length 1..3. IPAddressString[" + address +
                  "]");
}

[[noreturn]] void ThrowLeadingZero(const AnsiString& address) {
  throw Exception("Leading zero not allowed. IPAddressString[" + address + "]");
}

[[noreturn]] void ThrowIllegalSymbols(const AnsiString& address) {
  throw Exception("IP Address contains illegal symbols. IPAddressString[" + address + "]");
}

[[noreturn]] void ThrowRange(const AnsiString& address) {
  throw Exception("Triplets must be of range 0..255  IPAddressString[" + address + "]");
}

// Group n (1 to 4) of a triplet string: three characters from 3n - 3.
AnsiString Group(const AnsiString& triplets, int n) {
  const std::size_t start = 3 * static_cast<std::size_t>(n - 1);
  if (start >= triplets.size()) {
    return {};
  }
  return triplets.substr(start, 3);
}

int GroupValue(const AnsiString& group) {
  int value = 0;
  for (const char c : group) {
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

AnsiString GetPiece(const AnsiString& text, int n, char separator) {
  AnsiString rest = text;
  AnsiString piece;
  int count = 0;
  do {
    if (rest.empty()) {
      return {};
    }
    const auto at = rest.find(separator);
    if (at == AnsiString::npos) {
      piece = rest;
      rest.clear();
    } else {
      piece = rest.substr(0, at);
      rest.erase(0, at + 1);
    }
    ++count;
  } while (count != n);
  return piece;
}

AnsiString IPAddressToTriplets(const AnsiString& address) {
  AnsiString result;
  for (int n = 1; n <= 4; ++n) {
    AnsiString piece = GetPiece(address, n, '.');
    if (piece.empty() || piece.size() > 3) {
      ThrowPieceLength(address);
    }
    if (piece.size() > 1 && piece.front() == '0') {
      ThrowLeadingZero(address);
    }
    piece.insert(0, 3 - piece.size(), '0');
    result += piece;
  }
  return result;
}

bool IsAllDigits(const AnsiString& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void CheckTriplets(const AnsiString& triplets, const AnsiString& address) {
  for (int n = 1; n <= 4; ++n) {
    const AnsiString group = Group(triplets, n);
    if (!IsAllDigits(group)) {
      ThrowIllegalSymbols(address);
    }
    if (GroupValue(group) > 255) {
      ThrowRange(address);
    }
  }
}

void ValidateIPAddress(const AnsiString& address) {
  CheckTriplets(IPAddressToTriplets(address), address);
}

void ValidateWholeIPAddress(const AnsiString& address) {
  ValidateIPAddress(address);
  if (address.size() != GetPiece(address, 1, '.').size() + GetPiece(address, 2, '.').size() +
                            GetPiece(address, 3, '.').size() + GetPiece(address, 4, '.').size() +
                            3) {
    ThrowPieceLength(address);
  }
}

std::uint8_t GetIPOctet(const AnsiString& address, std::uint8_t n) {
  const AnsiString triplets = IPAddressToTriplets(address);
  CheckTriplets(triplets, address);
  if (n < 1 || n > 4) {
    return 0;
  }
  return static_cast<std::uint8_t>(GroupValue(Group(triplets, n)));
}

bool IsHostAddress(const AnsiString& address) {
  const int first = GetIPOctet(address, 1);
  const int last = GetIPOctet(address, 4);
  return first != 0 && first != 127 && first != 240 && first != 255 && last != 0 && last != 255;
}

}  // namespace tb
