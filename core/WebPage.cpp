// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/WebPage.h"

#include "core/ExchangeTexts.h"
#include "net/Ipv4Address.h"

namespace tb {

std::optional<AnsiString> WebPageText(const AnsiString& addressField) {
  const std::optional<Ipv4> address = ParseDottedIPv4(addressField);
  if (!address || *address == AnyAddress) {
    return std::nullopt;
  }
  return WebPagePrefix + FormatDottedIPv4(*address);
}

}  // namespace tb
