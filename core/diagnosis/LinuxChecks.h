// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QSet>
#include <optional>
#include <vector>

#include "core/BindingPlan.h"
#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/LinuxHost.h"

namespace tb::diagnosis::linux_checks {

using linux_host::Address;
using linux_host::InterfaceAddress;

// "sudo " unless this program already runs as root.
QString Sudo();

// Binding port 998 on one address the endpoint listens on, as the endpoint
// binds it; `error` is the system's, 0 when it could.
struct BindAttempt {
  Address address = 0;
  int error = 0;
  QStringList holders;  // "name (pid N)" of what holds the port, when in use
  QStringList pids;
};
// Each binding and broadcast receiver of the endpoint's plan, in its order.
std::vector<BindAttempt> TryBindings(const BindingPlan& plan);

// A port held by `ownPid` alone is held by the caller itself, as it should
// be: such an attempt counts as bound, and `ownPid` is no holder elsewhere.
void ExcludeOwnProcess(std::vector<BindAttempt>& attempts, long long ownPid);

// What a refused binding is explained with.
struct PortFacts {
  unsigned uid = 0;
  int unprivilegedPortStart = -1;
  QString privilege;  // why this process may bind ports below 1024, or how far it may
  QString ownPath;
};
PortFacts ReadPortFacts();

void CheckPort(const std::vector<BindAttempt>& attempts, const PortFacts& facts,
               std::vector<Verdict>& out);

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
  bool routesKnown = true;  // false when the caller's endpoint made the query
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
// With `lent`, the caller's endpoint sends and hears instead, which tells
// no route an answer came by.
ProbeResult Probe(const std::vector<InterfaceAddress>& addresses, int windowMs,
                  const LiveQuery& lent = {});

// rp_filter as it is set: for all interfaces, for each by name, and whether
// a default route makes loose mode enough.
struct ReversePathSettings {
  int all = 0;
  QHash<QString, int> own;
  bool defaultRoute = false;
};
ReversePathSettings ReadReversePathSettings(const std::vector<InterfaceAddress>& addresses);

void CheckReversePathFilter(const std::vector<InterfaceAddress>& addresses,
                            const ReversePathSettings& settings, const ProbeResult& probe,
                            std::vector<Verdict>& out);
void ReportProbe(const ProbeResult& probe, std::vector<Verdict>& out);

}  // namespace tb::diagnosis::linux_checks
