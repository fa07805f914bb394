#include "LinuxHost.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstring>

namespace tb::cli::linux_host {

namespace {

constexpr int ToolTimeoutMs = 10000;

Address FromSockaddr(const sockaddr* sa) {
  if (sa == nullptr || sa->sa_family != AF_INET) {
    return 0;
  }
  sockaddr_in in{};
  std::memcpy(&in, sa, sizeof in);
  return ntohl(in.sin_addr.s_addr);
}

// What makes an interface a tunnel: WireGuard, or a link type of
// /sys/class/net/*/type that carries no broadcast (ARPHRD_NONE for tun and
// the like, IP-in-IP, IPv6 tunnels, SIT, GRE, PPP), or a point-to-point link.
QString TunnelKind(const QString& name, unsigned flags) {
  const QString sys = QStringLiteral("/sys/class/net/") + name;
  if (ReadText(sys + QStringLiteral("/uevent"))
          .value_or(QString())
          .contains(QLatin1String("DEVTYPE=wireguard"))) {
    return QStringLiteral("WireGuard");
  }
  switch (ReadSysctl(sys + QStringLiteral("/type")).value_or(1)) {
    case 65534:
      return QStringLiteral("tun");
    case 768:
      return QStringLiteral("IP-in-IP");
    case 769:
      return QStringLiteral("IPv6 tunnel");
    case 776:
      return QStringLiteral("SIT");
    case 778:
    case 823:
      return QStringLiteral("GRE");
    case 512:
      return QStringLiteral("PPP");
    default:
      break;
  }
  return (flags & IFF_POINTOPOINT) != 0 ? QStringLiteral("point-to-point") : QString();
}

}  // namespace

QString Dotted(Address address) {
  return QStringLiteral("%1.%2.%3.%4")
      .arg(address >> 24U)
      .arg((address >> 16U) & 0xFFU)
      .arg((address >> 8U) & 0xFFU)
      .arg(address & 0xFFU);
}

int PrefixLength(Address netmask) {
  int bits = 0;
  while ((netmask & 0x80000000U) != 0) {
    ++bits;
    netmask <<= 1U;
  }
  return bits;
}

std::vector<InterfaceAddress> ListInterfaces() {
  std::vector<InterfaceAddress> list;
  ifaddrs* head = nullptr;
  if (::getifaddrs(&head) != 0) {
    return list;
  }
  for (const ifaddrs* it = head; it != nullptr; it = it->ifa_next) {
    if (it->ifa_addr == nullptr || it->ifa_addr->sa_family != AF_INET) {
      continue;
    }
    InterfaceAddress entry;
    entry.name = QString::fromLocal8Bit(it->ifa_name);
    entry.index = static_cast<int>(::if_nametoindex(it->ifa_name));
    entry.address = FromSockaddr(it->ifa_addr);
    entry.netmask = FromSockaddr(it->ifa_netmask);
    entry.up = (it->ifa_flags & IFF_UP) != 0;
    entry.running = (it->ifa_flags & IFF_RUNNING) != 0;
    entry.broadcast = (it->ifa_flags & IFF_BROADCAST) != 0;
    entry.loopback = (it->ifa_flags & IFF_LOOPBACK) != 0;
    if (!entry.loopback) {
      entry.tunnel = TunnelKind(entry.name, it->ifa_flags);
    }
    list.push_back(entry);
  }
  ::freeifaddrs(head);
  return list;
}

std::optional<QString> ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return std::nullopt;
  }
  return QString::fromLocal8Bit(file.readAll()).trimmed();
}

std::optional<int> ReadSysctl(const QString& path) {
  const std::optional<QString> text = ReadText(path);
  bool ok = false;
  const int value = text.value_or(QString()).toInt(&ok);
  return ok ? std::optional<int>(value) : std::nullopt;
}

bool HasDefaultRoute() {
  const QStringList lines =
      ReadText(QStringLiteral("/proc/net/route")).value_or(QString()).split(QLatin1Char('\n'));
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(QLatin1Char('\t'), Qt::SkipEmptyParts);
    if (fields.size() > 7 && fields[1] == QLatin1String("00000000") &&
        fields[7] == QLatin1String("00000000")) {
      return true;
    }
  }
  return false;
}

std::optional<long long> ReversePathDrops() {
  // Two lines per group in /proc/net/netstat: the names, then the values.
  const QStringList lines =
      ReadText(QStringLiteral("/proc/net/netstat")).value_or(QString()).split(QLatin1Char('\n'));
  for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
    const QStringList names = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList values = lines[i + 1].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype at = names.indexOf(QStringLiteral("IPReversePathFilter"));
    if (at > 0 && at < values.size()) {
      return values[at].toLongLong();
    }
  }
  return std::nullopt;
}

std::optional<QString> RunTool(const QString& program, const QStringList& arguments, int& status) {
  status = -1;
  QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) {
    // Administration tools live where a user's PATH may not reach.
    path = QStandardPaths::findExecutable(program,
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  }
  if (path.isEmpty()) {
    return std::nullopt;
  }
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(path, arguments);
  if (!process.waitForFinished(ToolTimeoutMs)) {
    process.kill();
    process.waitForFinished();
    return QString();
  }
  status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  return QString::fromLocal8Bit(process.readAll());
}

QString OwnPath() { return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath(); }

}  // namespace tb::cli::linux_host
