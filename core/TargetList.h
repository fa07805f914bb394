// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/AnsiString.h"
#include "net/Ipv4Address.h"

namespace tb {

// A place beyond the local networks' broadcasts that a query also asks by
// unicast: one address (prefix 32) or a network in CIDR form.
struct TargetEntry {
  Ipv4 address = 0;  // a network's first address
  int prefix = 32;

  // "10.20.0.15" or "10.20.0.0/24": how the list shows and keeps it.
  AnsiString Text() const;
  bool operator==(const TargetEntry&) const = default;
};

// The widest network a query sweeps: /22, 1,022 hosts.
inline constexpr int WidestTargetPrefix = 22;

enum class TargetFault {
  None,
  NotAnAddress,  // the address part fails the address checks
  NotAHost,      // a lone address that no device can have (0.x, 127.x, .0, .255, ...)
  BadPrefix,     // not a whole number from 0 to 32 after the "/"
  TooWide,       // wider than /22
  BadNetwork,    // a network of 0.x, 127.x or 224.x and up
};

struct TargetParse {
  std::optional<TargetEntry> entry;
  TargetFault fault = TargetFault::None;
  // The address checks' own message for NotAnAddress.
  AnsiString detail;
};

// Reads "ADDRESS" or "ADDRESS/PREFIX", blanks around it ignored. A network
// given by any of its addresses is kept by its first one.
TargetParse ParseTarget(const AnsiString& text);

// Why `text` was refused, for the window (Latin-1) and for brelvan.
AnsiString TargetRefusalText(const AnsiString& text, const TargetParse& parse);
std::string TargetRefusalEnglish(const AnsiString& text, const TargetParse& parse);

// Where a query's unicast HELLO() goes: every listed address, every host of
// every listed network and its directed broadcast, each once, in list order.
std::vector<Ipv4> TargetDestinations(const std::vector<TargetEntry>& entries);

// Whether `address` lies in one of the entries: a reply from it came through a target.
bool TargetsHold(const std::vector<TargetEntry>& entries, Ipv4 address);

}  // namespace tb
