// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/SharedVerdicts.h"

namespace tb::diagnosis {

Verdict NoNetworkVerdict(const QString& mend) {
  return {QStringLiteral("interface"),
          QString(),
          Verdict::Level::Problem,
          QStringLiteral("no IPv4 network but the loopback one: there is nowhere to look for "
                         "devices"),
          mend,
          {}};
}

Verdict AddresslessDeviceVerdict(const QString& mac, const QString& caption, const QString& heardOn,
                                 const QString& address) {
  return {QStringLiteral("query"),
          mac,
          Verdict::Level::Note,
          QStringLiteral("%1 answered on %2 with no IP address yet (\"%3\"): its web page cannot "
                         "be reached")
              .arg(caption, heardOn, address),
          QString(),
          {}};
}

Verdict OutsideNetworkVerdict(const QString& mac, const QString& caption, const QString& address,
                              const QString& heardOn, const QString& network,
                              std::uint32_t netmask) {
  return {QStringLiteral("query"),
          mac,
          Verdict::Level::Note,
          QStringLiteral("%1 at %2 answered on %3, outside its network %4: it can be configured, "
                         "but its web page cannot be reached from here")
              .arg(caption, address, heardOn, network),
          QStringLiteral("brelvan configure %1 --ip ADDRESS --netmask %2 --gateway 0.0.0.0   "
                         "(ADDRESS: a free address of %3)")
              .arg(mac, Dotted(netmask), network),
          {}};
}

}  // namespace tb::diagnosis
