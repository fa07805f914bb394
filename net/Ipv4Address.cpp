// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/Ipv4Address.h"

namespace tb {

std::optional<Ipv4> ParseDottedIPv4(const AnsiString& text) {
  Ipv4 result = 0;
  int parts = 0;
  std::size_t i = 0;
  while (true) {
    unsigned value = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
      // Stop early so a long run of digits cannot overflow.
      if (value > 255) {
        return std::nullopt;
      }
      ++digits;
      ++i;
    }
    if (digits == 0) {
      return std::nullopt;
    }
    result = (result << 8) | value;
    ++parts;
    if (i == text.size()) {
      break;
    }
    if (text[i] != '.' || parts == 4) {
      return std::nullopt;
    }
    ++i;
  }
  if (parts != 4) {
    return std::nullopt;
  }
  return result;
}

AnsiString FormatDottedIPv4(Ipv4 address) {
  return std::to_string((address >> 24) & 0xFFU) + "." + std::to_string((address >> 16) & 0xFFU) +
         "." + std::to_string((address >> 8) & 0xFFU) + "." + std::to_string(address & 0xFFU);
}

}  // namespace tb
