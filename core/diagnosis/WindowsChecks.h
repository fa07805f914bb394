// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "core/diagnosis/Doctor.h"

// What the Windows readers gather, and the verdicts drawn from it. The
// decisions build everywhere, so their tables run on every platform.
namespace tb::diagnosis::windows_checks {

// One adapter as GetAdaptersAddresses reports it.
struct AdapterReading {
  QString name;            // the friendly name, as the network settings show it
  QString description;     // the driver's, which names virtual and VPN adapters
  unsigned long type = 0;  // IF_TYPE_*
  bool up = false;
  bool mediaDisconnected = false;
  struct Ipv4 {
    std::uint32_t address = 0;
    int prefix = 0;
  };
  std::vector<Ipv4> ipv4;
};

// IF_TYPE_* values the verdicts tell apart.
inline constexpr unsigned long IfTypeEthernet = 6;
inline constexpr unsigned long IfTypePpp = 23;
inline constexpr unsigned long IfTypeLoopback = 24;
inline constexpr unsigned long IfTypeWifi = 71;
inline constexpr unsigned long IfTypeTunnel = 131;

void CheckAdapters(const std::vector<AdapterReading>& adapters, std::vector<Verdict>& out);

// A UDP socket on port 998, from GetExtendedUdpTable, with its process.
struct PortHolder {
  std::uint32_t address = 0;  // 0: every address
  long long pid = 0;
  QString process;  // the program's file name; empty when it cannot be read
};

// `holders` are the sockets on port 998; `ownPid` the caller's process (the
// window, which should hold it), 0 for none.
void CheckPortHolders(const std::vector<PortHolder>& holders, long long ownPid,
                      std::vector<Verdict>& out);

}  // namespace tb::diagnosis::windows_checks
