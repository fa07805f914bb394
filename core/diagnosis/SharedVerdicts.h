// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

#include "core/diagnosis/Doctor.h"

namespace tb::diagnosis {

// Verdicts each platform gives in the same words: the window's Spanish table
// and the comparison of the window with `brelvan doctor` read these words.

// No network but the loopback one; `mend` is the platform's listing command.
Verdict NoNetworkVerdict(const QString& mend);

// A device heard on `heardOn` (an interface's or adapter's name) that has no
// IP address yet.
Verdict AddresslessDeviceVerdict(const QString& mac, const QString& caption, const QString& heardOn,
                                 const QString& address);

// A device at `address` heard on `heardOn`, outside that one's network
// `network` ("a.b.c.d/n") whose netmask is `netmask`.
Verdict OutsideNetworkVerdict(const QString& mac, const QString& caption, const QString& address,
                              const QString& heardOn, const QString& network,
                              std::uint32_t netmask);

}  // namespace tb::diagnosis
