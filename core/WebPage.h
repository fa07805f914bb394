// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "common/AnsiString.h"

namespace tb {

// The shell text that opens a device's web page ("http:\\10.0.0.5"), written
// from the number that the device's address field reads as, never from the
// field's own bytes: a device chooses that text, and "10.0.0.1@host.example",
// quotes or blanks must not choose what the browser or the shell opens.
// nullopt when the field is no dotted IPv4 address, or is 0.0.0.0 (a device
// still waiting for one), which names this computer, never the device.
std::optional<AnsiString> WebPageText(const AnsiString& addressField);

}  // namespace tb
