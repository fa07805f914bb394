// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/diagnosis/WindowsChecks.h"
#include "core/diagnosis/WindowsFirewall.h"

// What the Windows checks read from the system; Windows builds only.
namespace tb::diagnosis::windows_checks {

// Every adapter with its IPv4 addresses (GetAdaptersAddresses).
std::vector<AdapterReading> ReadAdapters();
// Every IPv4 UDP socket on port 998 with its process (GetExtendedUdpTable).
std::vector<PortHolder> ReadPortHolders();
// Windows Firewall's profiles and inbound rules (INetFwPolicy2); its
// failure says what could not be read.
FirewallReading ReadFirewall();
// A live query out of `localAddress` on a socket of its own; nullopt when
// the port cannot be had there.
std::optional<std::vector<HeardAnswer>> QueryOutOf(std::uint32_t localAddress,
                                                   std::uint32_t directed, int windowMs);
// The running program's full path, as rules name programs.
QString ProgramPath();

}  // namespace tb::diagnosis::windows_checks
