// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/FirewallCheck.h"

#include <QHash>
#include <QStringList>

#include "core/diagnosis/FirewallRules.h"

namespace tb::diagnosis::firewall {

namespace {

// What the tool that owns the rules would have the user type.
QString Mend(const Drop& drop, bool ufwActive, bool legacy, const QString& sudo) {
  if (ufwActive || drop.ruleChain.startsWith(QLatin1String("ufw"))) {
    return sudo + QStringLiteral("ufw allow 998/udp");
  }
  if (drop.table == QLatin1String("firewalld")) {
    return sudo + QStringLiteral("firewall-cmd --permanent --add-port=998/udp && ") + sudo +
           QStringLiteral("firewall-cmd --reload");
  }
  if (legacy) {
    return sudo +
           QStringLiteral("iptables-legacy -I %1 -p udp --dport 998 -j ACCEPT").arg(drop.baseChain);
  }
  return sudo + QStringLiteral("nft insert rule %1 %2 %3 udp dport 998 accept")
                    .arg(drop.family, drop.table, drop.baseChain);
}

void Report(const std::vector<Drop>& drops, const QHash<QString, QString>& texts, bool ufwActive,
            bool legacy, const QString& sudo, std::vector<Verdict>& out) {
  for (const Drop& drop : drops) {
    const QString subject = legacy ? QStringLiteral("iptables %1").arg(drop.baseChain)
                                   : QStringLiteral("nftables %1 %2").arg(drop.family, drop.table);
    QString detail;
    if (drop.byPolicy) {
      detail = QStringLiteral("chain %1 drops by its policy, and no rule lets UDP port 998 in")
                   .arg(drop.baseChain);
    } else {
      const QString text =
          texts.value(RuleKey(drop.family, drop.table, drop.ruleChain, drop.handle));
      detail = QStringLiteral("the rule with handle %1 in chain %2 drops UDP port 998%3")
                   .arg(drop.handle, drop.ruleChain,
                        text.isEmpty() ? QString() : QStringLiteral(": ") + text);
    }
    out.push_back({QStringLiteral("firewall"),
                   subject,
                   Verdict::Level::Problem,
                   detail,
                   Mend(drop, ufwActive, legacy, sudo),
                   {}});
  }
}

}  // namespace

bool UfwActive(const std::optional<ToolRun>& ufw) {
  return ufw && ufw->status == 0 && ufw->output.contains(QLatin1String("Status: active"));
}

std::vector<Verdict> CheckFirewall(const FirewallReading& reading) {
  std::vector<Verdict> out;
  const bool ufwActive = UfwActive(reading.ufw);
  QStringList read;
  if (reading.nftJson && reading.nftJson->status == 0) {
    const QHash<QString, QString> texts = NftRuleTexts(reading.nftListing);
    Report(FindDrops(FromNftJson(reading.nftJson->output.toUtf8(), texts)), texts, ufwActive, false,
           reading.sudo, out);
    read << QStringLiteral("nftables");
  } else if (reading.nftJson) {
    out.push_back({QStringLiteral("firewall"),
                   QStringLiteral("nftables"),
                   Verdict::Level::Skipped,
                   QStringLiteral("the rules cannot be read: %1")
                       .arg(reading.nftJson->output.section(QLatin1Char('\n'), 0, 0).trimmed()),
                   QStringLiteral("sudo ") + reading.ownPath + QStringLiteral(" doctor"),
                   {}});
  }
  if (reading.iptablesSave && reading.iptablesSave->status == 0) {
    Report(FindDrops(FromIptablesSave(reading.iptablesSave->output)), {}, ufwActive, true,
           reading.sudo, out);
    read << QStringLiteral("iptables");
  }
  if (out.empty()) {
    out.push_back({QStringLiteral("firewall"),
                   QString(),
                   read.isEmpty() ? Verdict::Level::Skipped : Verdict::Level::Ok,
                   read.isEmpty()
                       ? QStringLiteral("neither nft nor iptables-legacy-save is here to "
                                        "read the rules")
                       : QStringLiteral("no %1 rule drops UDP port 998%2")
                             .arg(read.join(QStringLiteral(" or ")),
                                  ufwActive ? QStringLiteral(" (ufw is active)") : QString()),
                   QString(),
                   {}});
  }
  return out;
}

}  // namespace tb::diagnosis::firewall
