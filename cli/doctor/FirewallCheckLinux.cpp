#include "cli/FirewallRules.h"
#include "cli/LinuxChecks.h"

namespace tb::cli::linux_checks {

namespace {

using namespace linux_host;
using firewall::Drop;

// What the tool that owns the rules would have the user type.
QString Mend(const Drop& drop, bool ufwActive, bool legacy) {
  if (ufwActive || drop.ruleChain.startsWith(QLatin1String("ufw"))) {
    return Sudo() + QStringLiteral("ufw allow 998/udp");
  }
  if (drop.table == QLatin1String("firewalld")) {
    return Sudo() + QStringLiteral("firewall-cmd --permanent --add-port=998/udp && ") + Sudo() +
           QStringLiteral("firewall-cmd --reload");
  }
  if (legacy) {
    return Sudo() +
           QStringLiteral("iptables-legacy -I %1 -p udp --dport 998 -j ACCEPT").arg(drop.baseChain);
  }
  return Sudo() + QStringLiteral("nft insert rule %1 %2 %3 udp dport 998 accept")
                      .arg(drop.family, drop.table, drop.baseChain);
}

void Report(const std::vector<Drop>& drops, const QHash<QString, QString>& texts, bool ufwActive,
            bool legacy, std::vector<Verdict>& out) {
  for (const Drop& drop : drops) {
    const QString subject = legacy ? QStringLiteral("iptables %1").arg(drop.baseChain)
                                   : QStringLiteral("nftables %1 %2").arg(drop.family, drop.table);
    QString detail;
    if (drop.byPolicy) {
      detail = QStringLiteral("chain %1 drops by its policy, and no rule lets UDP port 998 in")
                   .arg(drop.baseChain);
    } else {
      const QString text =
          texts.value(firewall::RuleKey(drop.family, drop.table, drop.ruleChain, drop.handle));
      detail = QStringLiteral("the rule with handle %1 in chain %2 drops UDP port 998%3")
                   .arg(drop.handle, drop.ruleChain,
                        text.isEmpty() ? QString() : QStringLiteral(": ") + text);
    }
    out.push_back({QStringLiteral("firewall"),
                   subject,
                   Verdict::Level::Problem,
                   detail,
                   Mend(drop, ufwActive, legacy),
                   {}});
  }
}

}  // namespace

void CheckFirewall(std::vector<Verdict>& out) {
  int status = 0;
  const std::optional<QString> ufw =
      RunTool(QStringLiteral("ufw"), {QStringLiteral("status")}, status);
  const bool ufwActive = ufw && status == 0 && ufw->contains(QLatin1String("Status: active"));
  const std::size_t before = out.size();
  QStringList read;

  const std::optional<QString> json =
      RunTool(QStringLiteral("nft"),
              {QStringLiteral("-j"), QStringLiteral("list"), QStringLiteral("ruleset")}, status);
  if (json && status == 0) {
    const QHash<QString, QString> texts = firewall::NftRuleTexts(
        RunTool(QStringLiteral("nft"),
                {QStringLiteral("-a"), QStringLiteral("list"), QStringLiteral("ruleset")}, status)
            .value_or(QString()));
    Report(firewall::FindDrops(firewall::FromNftJson(json->toUtf8(), texts)), texts, ufwActive,
           false, out);
    read << QStringLiteral("nftables");
  } else if (json) {
    out.push_back({QStringLiteral("firewall"),
                   QStringLiteral("nftables"),
                   Verdict::Level::Skipped,
                   QStringLiteral("the rules cannot be read: %1")
                       .arg(json->section(QLatin1Char('\n'), 0, 0).trimmed()),
                   QStringLiteral("sudo ") + OwnPath() + QStringLiteral(" doctor"),
                   {}});
  }
  // Rules of the old iptables, kept apart from nftables; their tables are
  // listed once the kernel has them, so nothing is loaded by asking.
  if (!ReadText(QStringLiteral("/proc/net/ip_tables_names")).value_or(QString()).isEmpty()) {
    const std::optional<QString> saved =
        RunTool(QStringLiteral("iptables-legacy-save"), {}, status);
    if (saved && status == 0) {
      Report(firewall::FindDrops(firewall::FromIptablesSave(*saved)), {}, ufwActive, true, out);
      read << QStringLiteral("iptables");
    }
  }
  if (out.size() == before) {
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
}

}  // namespace tb::cli::linux_checks
