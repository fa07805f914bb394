// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tb {

// What received datagrams are used for.
enum class ExchangeMode { Idle = 0, Querying = 1, Configuring = 2 };

// Length of the listening windows, in milliseconds.
inline constexpr int QueryWindowMs = 500;
inline constexpr int ConfigureWindowMs = 1000;

}  // namespace tb
