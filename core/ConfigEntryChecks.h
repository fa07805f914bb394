// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "common/AnsiString.h"

namespace tb {

// The most characters the properties dialog's boxes take.
inline constexpr int HostNameLength = 15;
inline constexpr int PasswordLength = 20;

// A password or host name as the user typed it, in its 8-bit form.
struct ConfigEntry {
  AnsiString text;
  // What was typed held a character with no 8-bit form; text stands in for it.
  bool hasUnencodable = false;
};

// The password and the host name go into the configuration request
// unescaped. Refuses only what would shift or cut its fields there, or what
// it cannot carry: a ',' in the password, a ',' or ')' in the host name, and
// a zero byte or an unencodable character in either. The host name is judged
// first; pass nullptr when the request carries none. On false, message holds
// the text to show the user; on true it is empty.
bool AreConfigEntriesSendable(const ConfigEntry& password, const ConfigEntry* hostName,
                              AnsiString& message);

// The addresses of a request that sets them (DHCP off), judged as the
// properties dialog judges them: the IP must be a host's address, the gateway
// a host's address or "0.0.0.0"; the netmask is not looked at. The gateway is
// asked for only once the IP has passed, as the dialog reads its edit only
// then. On false, message holds the text to show; a text that is no address
// at all throws the address checks' error instead.
bool AreConfigAddressesSendable(const AnsiString& ip, const std::function<AnsiString()>& gateway,
                                AnsiString& message);

}  // namespace tb
