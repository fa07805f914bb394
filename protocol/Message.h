// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

namespace tb {

// Port on which every device listens and every reply arrives.
inline constexpr int CommandPort = 998;

// Readers of a received command text NAME(F0,F1,...). They see only the
// characters before the first zero byte, never throw and never reject a
// message as a whole: a missing piece reads as empty or false.

// The text before the first "(", or empty when there is none.
AnsiString GetCommandName(const AnsiString& text);

// Field n (n >= 1) counted by `separator`: F0 is GetField(t, 1, '('), Fk is
// GetField(t, k, ','). A field ends at the next comma anywhere after it, else
// at the next ")".
AnsiString GetField(const AnsiString& text, int n, char separator);

// Whether the text carries at least n fields: false when "()" stands anywhere,
// else the count of commas plus one compared with n.
bool HasFields(const AnsiString& text, int n);

// Building the requests.

// What a configuration request carries. The values go out as they stand:
// nothing is escaped, so callers must refuse separators beforehand.
struct ConfigRequest {
  AnsiString password;
  AnsiString mac;
  bool dhcp = false;
  AnsiString ip;
  AnsiString netmask;
  AnsiString gateway;
  bool hostNameEnabled = false;
  AnsiString hostName;
};

// The query text.
inline constexpr const char* QueryCommand = "HELLO()";

// The CONFIG text in one of its four forms, chosen by dhcp and
// hostNameEnabled. With dhcp the three addresses are sent as 0.0.0.0.
AnsiString BuildConfigCommand(const ConfigRequest& request);

}  // namespace tb
