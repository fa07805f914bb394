// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "core/diagnosis/Doctor.h"

namespace tb::diagnosis::firewall {

// What one tool printed, and its exit status.
struct ToolRun {
  QString output;
  int status = 0;
};

// What the firewall tools printed; nullopt for a tool that is not there.
struct FirewallReading {
  std::optional<ToolRun> ufw;      // ufw status
  std::optional<ToolRun> nftJson;  // nft -j list ruleset
  QString nftListing;              // nft -a list ruleset
  // iptables-legacy-save, asked only where the kernel holds tables of the
  // old iptables, so that nothing is loaded by asking.
  std::optional<ToolRun> iptablesSave;
  QString sudo;  // "sudo " unless this program runs as root
  QString ownPath;
};

// The platform's own reading.
FirewallReading ReadFirewall();

// Whether `ufw status` says ufw is active.
bool UfwActive(const std::optional<ToolRun>& ufw);

// What the rules do to a device's answer: a problem for each base chain that
// drops it, or one verdict that none does or that nothing could be read.
std::vector<Verdict> CheckFirewall(const FirewallReading& reading);

}  // namespace tb::diagnosis::firewall
