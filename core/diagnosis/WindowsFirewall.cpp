// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsFirewall.h"

#include <QStringList>
#include <array>

#include "protocol/Message.h"

namespace tb::diagnosis::windows_checks {

namespace {

QString ProfileName(int type) {
  switch (type) {
    case ProfileDomain:
      return QStringLiteral("Domain");
    case ProfilePrivate:
      return QStringLiteral("Private");
    default:
      return QStringLiteral("Public");
  }
}

// A rule's ports are a list of ports and ranges, "*" for any, or keywords
// ("RPC", "Teredo") that never mean port 998.
bool PortsMatch(const QString& ports) {
  const QString all = ports.trimmed();
  if (all.isEmpty() || all == QLatin1String("*")) {
    return true;
  }
  for (const QString& item : all.split(QLatin1Char(','))) {
    const QStringList ends = item.trimmed().split(QLatin1Char('-'));
    bool lowOk = false;
    bool highOk = false;
    const int low = ends.front().toInt(&lowOk);
    const int high = ends.size() == 2 ? ends.back().toInt(&highOk) : low;
    if (lowOk && (ends.size() == 1 || highOk) && low <= CommandPort && CommandPort <= high) {
      return true;
    }
  }
  return false;
}

// Windows compares program paths regardless of case and slash.
bool SameProgram(QString a, QString b) {
  a.replace(QLatin1Char('/'), QLatin1Char('\\'));
  b.replace(QLatin1Char('/'), QLatin1Char('\\'));
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool AppliesHere(const FirewallRule& rule, int profile, const QString& program) {
  return rule.enabled && (rule.profiles & profile) != 0 &&
         (rule.protocol == ProtocolUdp || rule.protocol == ProtocolAny) &&
         PortsMatch(rule.localPorts) &&
         (rule.application.isEmpty() || SameProgram(rule.application, program));
}

Verdict Judged(int type, Verdict::Level level, const QString& detail, const QString& mend) {
  QJsonObject data;
  data[QStringLiteral("profile")] = ProfileName(type).toLower();
  return {QStringLiteral("firewall"), ProfileName(type), level, detail, mend, data};
}

// Windows lets a block rule win over any allow rule.
void CheckProfile(const FirewallReading& reading, const FirewallProfile& profile,
                  const QString& program, std::vector<Verdict>& out) {
  const int type = profile.type;
  const QString name = ProfileName(type);
  if (!profile.enabled) {
    out.push_back(Judged(type, Verdict::Level::Note,
                         QStringLiteral("Windows Firewall is off on the active %1 profile: it "
                                        "stops no answer")
                             .arg(name),
                         QString()));
    return;
  }
  if (profile.blockAllInbound) {
    out.push_back(Judged(
        type, Verdict::Level::Problem,
        QStringLiteral("the active %1 profile blocks every incoming packet, whatever its rules "
                       "allow: the devices' answers are dropped")
            .arg(name),
        QStringLiteral("netsh advfirewall set %1profile firewallpolicy blockinbound,allowoutbound"
                       "   (as administrator)")
            .arg(name.toLower())));
    return;
  }
  bool blocked = false;
  const FirewallRule* allowing = nullptr;
  for (const FirewallRule& rule : reading.inbound) {
    if (!AppliesHere(rule, type, program)) {
      continue;
    }
    if (rule.allow) {
      allowing = allowing == nullptr ? &rule : allowing;
      continue;
    }
    blocked = true;
    out.push_back(Judged(type, Verdict::Level::Problem,
                         QStringLiteral("the inbound rule \"%1\" blocks UDP %2 on the active %3 "
                                        "profile: the devices' answers are dropped")
                             .arg(rule.name)
                             .arg(CommandPort)
                             .arg(name),
                         QStringLiteral("netsh advfirewall firewall set rule name=\"%1\" new "
                                        "enable=no   (as administrator)")
                             .arg(rule.name)));
  }
  if (blocked) {
    return;
  }
  if (profile.allowInboundByDefault) {
    out.push_back(Judged(type, Verdict::Level::Ok,
                         QStringLiteral("the active %1 profile lets incoming packets in unless a "
                                        "rule blocks them")
                             .arg(name),
                         QString()));
  } else if (allowing != nullptr) {
    out.push_back(
        Judged(type, Verdict::Level::Ok,
               QStringLiteral("the inbound rule \"%1\" lets UDP %2 in on the active %3 profile")
                   .arg(allowing->name)
                   .arg(CommandPort)
                   .arg(name),
               QString()));
  } else {
    out.push_back(Judged(
        type, Verdict::Level::Problem,
        QStringLiteral("no inbound rule lets UDP %1 or this program in on the active %2 "
                       "profile: the devices' answers are dropped")
            .arg(CommandPort)
            .arg(name),
        QStringLiteral("netsh advfirewall firewall add rule name=\"Tarnwick Brelvan\" dir=in "
                       "action=allow protocol=UDP localport=%1 profile=%2   (as administrator)")
            .arg(CommandPort)
            .arg(name.toLower())));
  }
}

Verdict Skipped(const QString& why) {
  return {QStringLiteral("firewall"),
          QString(),
          Verdict::Level::Skipped,
          why + QStringLiteral("; 'netsh advfirewall show allprofiles' and 'netsh advfirewall "
                               "firewall show rule name=all dir=in' show it"),
          QString(),
          {}};
}

}  // namespace

void CheckFirewall(const FirewallReading& reading, const QString& program,
                   std::vector<Verdict>& out) {
  if (!reading.failure.isEmpty()) {
    out.push_back(
        Skipped(QStringLiteral("Windows Firewall could not be read (%1)").arg(reading.failure)));
    return;
  }
  bool any = false;
  for (const int type : std::array{ProfileDomain, ProfilePrivate, ProfilePublic}) {
    if ((reading.activeProfiles & type) == 0) {
      continue;
    }
    for (const FirewallProfile& profile : reading.profiles) {
      if (profile.type == type) {
        any = true;
        CheckProfile(reading, profile, program, out);
      }
    }
  }
  if (!any) {
    out.push_back(Skipped(QStringLiteral("Windows Firewall names no active profile")));
  }
}

}  // namespace tb::diagnosis::windows_checks
