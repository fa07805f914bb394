// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

#include "common/AnsiString.h"

namespace tb {

// IPv4 addresses are held as 32-bit numbers in host byte order, so that the
// bitwise network arithmetic reads naturally.
using Ipv4 = std::uint32_t;

// Exactly four parts separated by ".", each a decimal number from 0 to 255.
// Anything else (blanks, signs, hex, missing parts) is not a dotted address.
std::optional<Ipv4> ParseDottedIPv4(const AnsiString& text);

// Dotted decimal without leading zeros, as inet_ntoa writes it.
AnsiString FormatDottedIPv4(Ipv4 address);

// The directed broadcast address of the network that holds `address`:
// (NOT netmask) OR (address AND netmask).
constexpr Ipv4 DirectedBroadcast(Ipv4 address, Ipv4 netmask) {
  return ~netmask | (address & netmask);
}

// The netmask of a /`prefix` network; prefixes outside 0..32 are clamped.
constexpr Ipv4 PrefixNetmask(int prefix) {
  return prefix <= 0 ? 0U : (prefix >= 32 ? ~0U : ~0U << static_cast<unsigned>(32 - prefix));
}

inline constexpr Ipv4 LimitedBroadcast = 0xFFFFFFFFU;
inline constexpr Ipv4 AnyAddress = 0;

}  // namespace tb
