// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/WindowsQuery.h"

#include <QSet>
#include <QStringList>

#include "core/Latin1.h"
#include "core/diagnosis/SharedVerdicts.h"
#include "net/Ipv4Address.h"

namespace tb::diagnosis::windows_checks {

namespace {

QString Network(const AdapterReading::Ipv4& ip) {
  return QStringLiteral("%1/%2").arg(Dotted(ip.address & PrefixNetmask(ip.prefix))).arg(ip.prefix);
}

void Foreign(const AdapterQuery& query, const HeardAnswer& answer, std::vector<Verdict>& out) {
  const std::optional<Ipv4> device = ParseDottedIPv4(ToAnsi(answer.address));
  const std::uint32_t mask = PrefixNetmask(query.from.prefix);
  if (device && *device != 0 && (*device & mask) == (query.from.address & mask)) {
    return;
  }
  out.push_back(
      device && *device != 0
          ? OutsideNetworkVerdict(answer.mac, answer.caption, answer.address, query.adapter,
                                  Network(query.from), mask)
          : AddresslessDeviceVerdict(answer.mac, answer.caption, query.adapter, answer.address));
}

}  // namespace

std::vector<AdapterQuery> QueryAdapters(const std::vector<AdapterReading>& adapters,
                                        const LiveQuery& query, int windowMs) {
  std::vector<AdapterQuery> queries;
  for (const AdapterReading& adapter : adapters) {
    if (adapter.type == IfTypeLoopback || !adapter.up) {
      continue;
    }
    for (const AdapterReading::Ipv4& ip : adapter.ipv4) {
      queries.push_back(
          {adapter.name, ip,
           query(ip.address, DirectedBroadcast(ip.address, PrefixNetmask(ip.prefix)), windowMs)});
    }
  }
  return queries;
}

void CheckQueries(const std::vector<AdapterQuery>& queries, std::vector<Verdict>& out) {
  qsizetype devices = 0;
  bool asked = false;
  for (const AdapterQuery& query : queries) {
    const QString from = QStringLiteral("%1 (%2)").arg(query.adapter, Dotted(query.from.address));
    if (!query.answers) {
      out.push_back({QStringLiteral("query"),
                     query.adapter,
                     Verdict::Level::Skipped,
                     QStringLiteral("no query could be sent out of %1; see the port check")
                         .arg(Dotted(query.from.address)),
                     QString(),
                     {}});
      continue;
    }
    asked = true;
    // A device answers once by each route; it is one device.
    QSet<QString> macs;
    for (const HeardAnswer& answer : *query.answers) {
      macs.insert(answer.mac);
    }
    devices += macs.size();
    out.push_back(
        {QStringLiteral("query"), query.adapter,
         macs.isEmpty() ? Verdict::Level::Note : Verdict::Level::Ok,
         QStringLiteral("%1 device(s) answered a query out of %2").arg(macs.size()).arg(from),
         QString(), QJsonObject{{QStringLiteral("devices"), macs.size()}}});
    QSet<QString> seen;
    for (const HeardAnswer& answer : *query.answers) {
      if (!seen.contains(answer.mac)) {
        seen.insert(answer.mac);
        Foreign(query, answer, out);
      }
    }
  }
  // Silence proves something only where a query went out.
  if (devices == 0 && asked) {
    out.push_back({QStringLiteral("query"),
                   QString(),
                   Verdict::Level::Problem,
                   QStringLiteral("no device answered on any adapter"),
                   QString(),
                   {}});
  }
}

}  // namespace tb::diagnosis::windows_checks
