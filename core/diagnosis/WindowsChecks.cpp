// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsChecks.h"

#include <QStringList>
#include <algorithm>
#include <utility>

#include "core/diagnosis/SharedVerdicts.h"

namespace tb::diagnosis::windows_checks {

namespace {

bool Names(const AdapterReading& adapter, std::initializer_list<const char*> words) {
  for (const char* word : words) {
    const QString w = QLatin1String(word);
    if (adapter.name.contains(w, Qt::CaseInsensitive) ||
        adapter.description.contains(w, Qt::CaseInsensitive)) {
      return true;
    }
  }
  return false;
}

// Tunnels and VPNs carry no broadcast; virtual switches lead to virtual
// machines, not to the devices' network. Either may take the answers.
QString Kind(const AdapterReading& adapter) {
  if (adapter.type == IfTypeTunnel || adapter.type == IfTypePpp ||
      Names(adapter,
            {"VPN", "TAP-", "WireGuard", "OpenVPN", "Tunnel", "AnyConnect", "FortiClient"})) {
    return QStringLiteral("tunnel or VPN");
  }
  if (Names(adapter,
            {"Hyper-V", "vEthernet", "VirtualBox", "VMware", "WSL", "Docker", "Virtual"})) {
    return QStringLiteral("virtual");
  }
  return {};
}

QString TypeName(const AdapterReading& adapter) {
  return adapter.type == IfTypeWifi ? QStringLiteral("Wi-Fi") : QStringLiteral("Ethernet");
}

bool IsApipa(std::uint32_t address) { return (address >> 16U) == 0xA9FEU; }

Verdict AdapterVerdict(const AdapterReading& adapter, const QString& where) {
  const QString quoted = QLatin1Char('"') + adapter.name + QLatin1Char('"');
  if (adapter.mediaDisconnected) {
    return {QStringLiteral("interface"),
            adapter.name,
            Verdict::Level::Note,
            QStringLiteral("media disconnected (cable, radio), %1").arg(where),
            QString(),
            {}};
  }
  if (!adapter.up) {
    return {QStringLiteral("interface"),
            adapter.name,
            Verdict::Level::Problem,
            QStringLiteral("down, with %1: nothing is sent or heard there").arg(where),
            QStringLiteral("netsh interface set interface name=%1 admin=enabled   (as "
                           "administrator)")
                .arg(quoted),
            {}};
  }
  for (const auto& ip : adapter.ipv4) {
    if (IsApipa(ip.address)) {
      return {QStringLiteral("interface"),
              adapter.name,
              Verdict::Level::Problem,
              QStringLiteral("%1 only: no DHCP server answered, so devices on its network "
                             "cannot be reached")
                  .arg(Dotted(ip.address)),
              QStringLiteral("ipconfig /renew %1").arg(quoted),
              {}};
    }
  }
  if (const QString kind = Kind(adapter); !kind.isEmpty()) {
    return {QStringLiteral("interface"),
            adapter.name,
            Verdict::Level::Note,
            QStringLiteral("%1 adapter, %2: devices are not found through it, and it may take "
                           "their answers")
                .arg(kind, where),
            QString(),
            {}};
  }
  return {QStringLiteral("interface"),
          adapter.name,
          Verdict::Level::Ok,
          QStringLiteral("up, %1, %2").arg(TypeName(adapter), where),
          QString(),
          {}};
}

}  // namespace

void CheckAdapters(const std::vector<AdapterReading>& adapters, std::vector<Verdict>& out) {
  bool any = false;
  for (const AdapterReading& adapter : adapters) {
    if (adapter.type == IfTypeLoopback || adapter.ipv4.empty()) {
      continue;
    }
    any = true;
    QStringList where;
    for (const auto& ip : adapter.ipv4) {
      where << QStringLiteral("%1/%2").arg(Dotted(ip.address)).arg(ip.prefix);
    }
    out.push_back(AdapterVerdict(adapter, where.join(QStringLiteral(", "))));
  }
  if (!any) {
    out.push_back(NoNetworkVerdict(QStringLiteral("ipconfig")));
  }
}

void CheckPortHolders(const std::vector<PortHolder>& holders, long long ownPid,
                      std::vector<Verdict>& out) {
  bool own = false;
  // A program bound on several addresses is one holder to end, once.
  std::vector<std::pair<const PortHolder*, QStringList>> others;
  for (const PortHolder& holder : holders) {
    if (ownPid != 0 && holder.pid == ownPid) {
      own = true;
      continue;
    }
    const QString where = holder.address == 0 ? QStringLiteral("0.0.0.0") : Dotted(holder.address);
    const auto same = std::find_if(others.begin(), others.end(),
                                   [&](const auto& o) { return o.first->pid == holder.pid; });
    if (same == others.end()) {
      others.emplace_back(&holder, QStringList{where});
    } else if (!same->second.contains(where)) {
      same->second << where;
    }
  }
  for (const auto& [holder, where] : others) {
    const QString who =
        holder->process.isEmpty()
            ? QStringLiteral(
                  "a program this user may not see (pid %1; run as administrator to see its name)")
                  .arg(holder->pid)
            : QStringLiteral("%1 (pid %2)").arg(holder->process).arg(holder->pid);
    out.push_back({QStringLiteral("port"),
                   where.join(QStringLiteral(", ")),
                   Verdict::Level::Problem,
                   QStringLiteral("998 is held by ") + who,
                   QStringLiteral("taskkill /PID %1").arg(holder->pid),
                   {}});
  }
  if (others.empty()) {
    out.push_back({QStringLiteral("port"),
                   QString(),
                   Verdict::Level::Ok,
                   own ? QStringLiteral("998 is held by this program alone")
                       : QStringLiteral("998 is free on every address"),
                   QString(),
                   {}});
  }
}

}  // namespace tb::diagnosis::windows_checks
