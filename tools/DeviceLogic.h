// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "common/AnsiString.h"
#include "tools/Fleet.h"

namespace tb::sim {

// The NTM answer of a device with its configured number of fields, or its
// replacement payload; padded or cut to reply_size when one is set.
AnsiString BuildDiscoveryReply(const SimDevice& device);

// A CONFIG request for this device (exact MAC match in F1): checks the
// password, applies the settings when it matches and returns ACK(mac) or
// NAK(mac). nullopt when the request names another device or is no CONFIG.
std::optional<AnsiString> HandleConfig(SimDevice& device, const AnsiString& request);

}  // namespace tb::sim
