#pragma once

#include <QSet>
#include <optional>
#include <vector>

#include "cli/Doctor.h"
#include "cli/LinuxHost.h"

namespace tb::cli::linux_checks {

using linux_host::Address;
using linux_host::InterfaceAddress;

// "sudo " unless this program already runs as root.
QString Sudo();

// The port every binding and broadcast receiver of the program needs.
void CheckPort(const std::vector<InterfaceAddress>& addresses, std::vector<Verdict>& out);

// Each interface with an IPv4 address but the loopback one.
void CheckInterfaces(const std::vector<InterfaceAddress>& addresses, std::vector<Verdict>& out);

// A device heard on an interface whose networks do not hold its address.
struct ForeignDevice {
  QString mac;
  QString caption;
  QString address;
  bool hasAddress = false;  // false for 0.0.0.0 or no address at all
  const InterfaceAddress* heardOn = nullptr;
};

// What the live query heard on one interface.
struct InterfaceProbe {
  QString name;
  int index = 0;
  bool queried = false;
  int unicast = 0;
  int directed = 0;
  int limited = 0;
  QSet<QString> macs;
  // Answers the reverse-path filter dropped during this interface's window.
  std::optional<long long> reversePathDrops;
};

struct ProbeResult {
  QString failure;  // why no query could be made; empty when it ran
  std::vector<InterfaceProbe> interfaces;
  std::vector<ForeignDevice> foreign;
};

// "HELLO()" to each interface in turn, by directed and limited broadcast out
// of it, listening `windowMs` after each on a socket of its own.
ProbeResult Probe(const std::vector<InterfaceAddress>& addresses, int windowMs);

void CheckReversePathFilter(const std::vector<InterfaceAddress>& addresses,
                            const ProbeResult& probe, std::vector<Verdict>& out);
void CheckFirewall(std::vector<Verdict>& out);
void ReportProbe(const ProbeResult& probe, std::vector<Verdict>& out);

}  // namespace tb::cli::linux_checks
