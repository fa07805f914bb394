// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "core/diagnosis/Doctor.h"

// Windows Firewall as INetFwPolicy2 shows it, and the verdicts drawn from it.
// The decision builds everywhere, so its tables run on every platform.
namespace tb::diagnosis::windows_checks {

// NET_FW_PROFILE2_* bits.
inline constexpr int ProfileDomain = 0x1;
inline constexpr int ProfilePrivate = 0x2;
inline constexpr int ProfilePublic = 0x4;
// NET_FW_IP_PROTOCOL_* values.
inline constexpr int ProtocolUdp = 17;
inline constexpr int ProtocolAny = 256;

struct FirewallProfile {
  int type = 0;  // one ProfileDomain, ProfilePrivate or ProfilePublic bit
  bool enabled = false;
  bool blockAllInbound = false;  // "block all incoming connections", rules or not
  bool allowInboundByDefault = false;
};

// An inbound rule; outbound ones never stop an answer.
struct FirewallRule {
  QString name;
  bool enabled = false;
  bool allow = false;  // else it blocks
  int profiles = 0;    // NET_FW_PROFILE2_* bits
  int protocol = ProtocolAny;
  QString localPorts;   // "*", "998", "990-999,1000", or a keyword such as "RPC"
  QString application;  // the program's full path; empty for every program
};

struct FirewallReading {
  QString failure;  // why the policy could not be read; empty when it was
  int activeProfiles = 0;
  std::vector<FirewallProfile> profiles;
  std::vector<FirewallRule> inbound;
};

// `program` is the running program's full path: rules for it count as
// well as rules for the port.
void CheckFirewall(const FirewallReading& reading, const QString& program,
                   std::vector<Verdict>& out);

}  // namespace tb::diagnosis::windows_checks
