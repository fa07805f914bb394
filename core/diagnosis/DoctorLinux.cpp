// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonObject>
#include <bit>

#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/FirewallCheck.h"
#include "core/diagnosis/LinuxChecks.h"
#include "core/diagnosis/SharedVerdicts.h"

namespace tb::diagnosis {

namespace linux_checks {

namespace {

using namespace linux_host;

QString Network(const InterfaceAddress& entry) {
  return QStringLiteral("%1/%2")
      .arg(Dotted(entry.address & entry.netmask))
      .arg(std::countl_one(entry.netmask));
}

}  // namespace

void CheckInterfaces(const std::vector<InterfaceAddress>& addresses, std::vector<Verdict>& out) {
  bool any = false;
  for (const InterfaceAddress& entry : addresses) {
    if (entry.loopback) {
      continue;
    }
    any = true;
    const QString name = NameOf(entry);
    const QString where = QStringLiteral("%1/%2, broadcast %3")
                              .arg(Dotted(entry.address))
                              .arg(std::countl_one(entry.netmask))
                              .arg(Dotted(entry.DirectedBroadcastAddress()));
    if (!entry.up) {
      out.push_back({QStringLiteral("interface"),
                     name,
                     Verdict::Level::Problem,
                     QStringLiteral("down, with %1: nothing is sent or heard there").arg(where),
                     Sudo() + QStringLiteral("ip link set dev %1 up").arg(name),
                     {}});
    } else if (!entry.tunnel.empty()) {
      out.push_back({QStringLiteral("interface"),
                     name,
                     Verdict::Level::Note,
                     QStringLiteral("%1 tunnel, %2: broadcasts do not cross it, so devices "
                                    "behind it cannot be found")
                         .arg(QString::fromStdString(entry.tunnel), where),
                     QString(),
                     {}});
    } else if (!entry.broadcast) {
      out.push_back({QStringLiteral("interface"),
                     name,
                     Verdict::Level::Note,
                     QStringLiteral("up, %1, but without broadcast: devices there cannot be found")
                         .arg(where),
                     QString(),
                     {}});
    } else if (!entry.running) {
      out.push_back({QStringLiteral("interface"),
                     name,
                     Verdict::Level::Note,
                     QStringLiteral("up, %1, but without a link (cable, radio)").arg(where),
                     QString(),
                     {}});
    } else {
      out.push_back({QStringLiteral("interface"),
                     name,
                     Verdict::Level::Ok,
                     QStringLiteral("up, %1").arg(where),
                     QString(),
                     {}});
    }
  }
  if (!any) {
    out.push_back(NoNetworkVerdict(QStringLiteral("ip -4 addr")));
  }
}

ReversePathSettings ReadReversePathSettings(const std::vector<InterfaceAddress>& addresses) {
  const QString conf = QStringLiteral("/proc/sys/net/ipv4/conf/%1/rp_filter");
  ReversePathSettings settings;
  settings.all = ReadSysctl(conf.arg(QStringLiteral("all"))).value_or(0);
  settings.defaultRoute = HasDefaultRoute();
  for (const InterfaceAddress& entry : addresses) {
    if (!entry.loopback) {
      settings.own.insert(NameOf(entry), ReadSysctl(conf.arg(NameOf(entry))).value_or(0));
    }
  }
  return settings;
}

void CheckReversePathFilter(const std::vector<InterfaceAddress>& addresses,
                            const ReversePathSettings& settings, const ProbeResult& probe,
                            std::vector<Verdict>& out) {
  const int all = settings.all;
  // Loose mode lets an answer in when some route leads back to its sender.
  const int fix = settings.defaultRoute ? 2 : 0;
  QStringList seen;
  for (const InterfaceAddress& entry : addresses) {
    const QString name = NameOf(entry);
    if (entry.loopback || seen.contains(name)) {
      continue;
    }
    seen << name;
    const int own = settings.own.value(name);
    const int effective = std::max(all, own);
    std::optional<long long> drops;
    for (const InterfaceProbe& p : probe.interfaces) {
      if (p.index == entry.index) {
        drops = p.reversePathDrops;
      }
    }
    QString mend = Sudo() + QStringLiteral("sysctl -w");
    if (all > fix) {
      mend += QStringLiteral(" net.ipv4.conf.all.rp_filter=%1").arg(fix);
    }
    mend += QStringLiteral(" net.ipv4.conf.%1.rp_filter=%2").arg(name).arg(fix);
    const QString setting =
        QStringLiteral("%1 in effect (all %2, %3 %4)").arg(effective).arg(all).arg(name).arg(own);
    Verdict verdict{QStringLiteral("rp_filter"),
                    name,
                    Verdict::Level::Ok,
                    QString(),
                    QString(),
                    QJsonObject{{QStringLiteral("effective"), effective}}};
    if (effective != 0 && drops.value_or(0) > 0) {
      verdict.level = Verdict::Level::Problem;
      verdict.detail = QStringLiteral(
                           "%1: %2 answer(s) dropped during the query, from "
                           "addresses that would not be routed back through %3: "
                           "devices configured for another subnet")
                           .arg(setting)
                           .arg(*drops)
                           .arg(name);
      verdict.mend = mend;
    } else if (effective == 1) {
      verdict.level = Verdict::Level::Note;
      verdict.detail = setting + QStringLiteral(
                                     ": strict; answers from a device configured for "
                                     "another subnet would be dropped");
      verdict.mend = mend;
    } else {
      verdict.detail =
          setting + (effective == 0 ? QStringLiteral(": off") : QStringLiteral(": loose"));
    }
    out.push_back(verdict);
  }
}

void ReportProbe(const ProbeResult& probe, std::vector<Verdict>& out) {
  if (!probe.failure.isEmpty()) {
    out.push_back(
        {QStringLiteral("query"),
         QString(),
         Verdict::Level::Skipped,
         QStringLiteral("cannot listen on port 998 (%1); see the port check").arg(probe.failure),
         QString(),
         {}});
    return;
  }
  qsizetype devices = 0;
  for (const InterfaceProbe& p : probe.interfaces) {
    if (!p.queried) {
      continue;
    }
    devices += p.macs.size();
    const QJsonObject data{{QStringLiteral("devices"), p.macs.size()},
                           {QStringLiteral("unicast"), p.unicast},
                           {QStringLiteral("directed"), p.directed},
                           {QStringLiteral("limited"), p.limited}};
    const QString detail =
        p.routesKnown
            ? QStringLiteral(
                  "%1 device(s) answered; answers by unicast %2, by directed "
                  "broadcast %3, by limited broadcast %4")
                  .arg(p.macs.size())
                  .arg(p.unicast)
                  .arg(p.directed)
                  .arg(p.limited)
            : QStringLiteral("%1 device(s) answered the program's own query").arg(p.macs.size());
    out.push_back({QStringLiteral("query"), p.name,
                   p.macs.isEmpty() ? Verdict::Level::Note : Verdict::Level::Ok, detail, QString(),
                   p.routesKnown ? data : QJsonObject{{QStringLiteral("devices"), p.macs.size()}}});
  }
  for (const ForeignDevice& device : probe.foreign) {
    out.push_back(device.hasAddress
                      ? OutsideNetworkVerdict(device.mac, device.caption, device.address,
                                              NameOf(*device.heardOn), Network(*device.heardOn),
                                              device.heardOn->netmask)
                      : AddresslessDeviceVerdict(device.mac, device.caption,
                                                 NameOf(*device.heardOn), device.address));
  }
  if (devices == 0) {
    out.push_back({QStringLiteral("query"),
                   QString(),
                   Verdict::Level::Problem,
                   QStringLiteral("no device answered on any interface"),
                   QString(),
                   {}});
  }
}

}  // namespace linux_checks

std::vector<Verdict> RunChecks(const Options& options) {
  using namespace linux_checks;
  const std::vector<InterfaceAddress> addresses = linux_host::ListInterfaces();
  std::vector<Verdict> verdicts;
  std::vector<BindAttempt> attempts =
      TryBindings(PlanBindings(linux_host::HostAddresses(), addresses));
  ExcludeOwnProcess(attempts, options.ownPid);
  CheckPort(attempts, ReadPortFacts(), verdicts);
  CheckInterfaces(addresses, verdicts);
  // The query runs before the filter check, which counts what it dropped.
  const ProbeResult probe = Probe(addresses, options.windowMs, options.liveQuery);
  CheckReversePathFilter(addresses, ReadReversePathSettings(addresses), probe, verdicts);
  firewall::FirewallReading firewallReading = firewall::ReadFirewall();
  if (!options.doctorProgram.isEmpty()) {
    firewallReading.ownPath = options.doctorProgram;
  }
  for (Verdict& verdict : firewall::CheckFirewall(firewallReading)) {
    verdicts.push_back(std::move(verdict));
  }
  ReportProbe(probe, verdicts);
  return verdicts;
}

}  // namespace tb::diagnosis
