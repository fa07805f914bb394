// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/FirewallCheck.h"
#include "core/diagnosis/LinuxChecks.h"

namespace tb::diagnosis::firewall {

namespace {

std::optional<ToolRun> Run(const QString& program, const QStringList& arguments) {
  int status = 0;
  const std::optional<QString> output = linux_host::RunTool(program, arguments, status);
  return output ? std::optional<ToolRun>(ToolRun{*output, status}) : std::nullopt;
}

}  // namespace

FirewallReading ReadFirewall() {
  FirewallReading reading;
  reading.sudo = linux_checks::Sudo();
  reading.ownPath = linux_host::OwnPath();
  reading.ufw = Run(QStringLiteral("ufw"), {QStringLiteral("status")});
  reading.nftJson = Run(QStringLiteral("nft"),
                        {QStringLiteral("-j"), QStringLiteral("list"), QStringLiteral("ruleset")});
  if (reading.nftJson && reading.nftJson->status == 0) {
    reading.nftListing = Run(QStringLiteral("nft"), {QStringLiteral("-a"), QStringLiteral("list"),
                                                     QStringLiteral("ruleset")})
                             .value_or(ToolRun{})
                             .output;
  }
  // Their tables are listed once the kernel has them.
  if (!linux_host::ReadText(QStringLiteral("/proc/net/ip_tables_names"))
           .value_or(QString())
           .isEmpty()) {
    reading.iptablesSave = Run(QStringLiteral("iptables-legacy-save"), {});
  }
  return reading;
}

}  // namespace tb::diagnosis::firewall
