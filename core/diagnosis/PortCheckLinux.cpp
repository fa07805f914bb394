// SPDX-License-Identifier: GPL-3.0-or-later
#include <netinet/in.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "core/diagnosis/LinuxChecks.h"
#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"
#include "protocol/Message.h"

namespace tb::diagnosis::linux_checks {

namespace {

using namespace linux_host;

constexpr int CapNetBindService = 10;

// The endpoint's own calls, so that the check meets what the program meets.
int TryBind(Address address) {
  int error = 0;
  const socketlayer::Handle socket = socketlayer::OpenDatagram(error);
  if (socket == socketlayer::InvalidHandle) {
    return error;
  }
  error = socketlayer::Bind(socket, address, CommandPort);
  socketlayer::Close(socket);
  return error;
}

// The socket inodes on port 998 that keep `address` from being bound: those
// bound to it or to any address.
QSet<QString> InodesHolding(Address address) {
  QSet<QString> inodes;
  const QStringList lines =
      ReadText(QStringLiteral("/proc/net/udp")).value_or(QString()).split(QLatin1Char('\n'));
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 10) {
      continue;
    }
    bool ok = false;
    const QStringList local = fields[1].split(QLatin1Char(':'));
    const Address bound = ntohl(local.value(0).toUInt(&ok, 16));
    if (ok && local.value(1).toInt(nullptr, 16) == CommandPort &&
        (bound == address || bound == AnyAddress)) {
      inodes.insert(fields[9]);
    }
  }
  return inodes;
}

// "name (pid N)" of each process with one of the sockets open, with the pids.
QStringList Holders(const QSet<QString>& inodes, QStringList& pids) {
  QStringList holders;
  const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
  for (const QString& pid : processes) {
    bool numeric = false;
    pid.toInt(&numeric);
    if (!numeric) {
      continue;
    }
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
      const QString target = QFileInfo(fds.filePath(fd)).symLinkTarget();
      const QString inode = target.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0);
      if (target.contains(QLatin1String("socket:")) && inodes.contains(inode)) {
        const QString name =
            ReadText(QStringLiteral("/proc/%1/comm").arg(pid)).value_or(QStringLiteral("?"));
        holders << QStringLiteral("%1 (pid %2)").arg(name, pid);
        pids << pid;
        break;
      }
    }
  }
  return holders;
}

bool HasCapability(int capability) {
  const QStringList lines =
      ReadText(QStringLiteral("/proc/self/status")).value_or(QString()).split(QLatin1Char('\n'));
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1String("CapEff:"))) {
      return ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> capability) & 1U) != 0;
    }
  }
  return false;
}

QString Privilege() {
  if (::geteuid() == 0) {
    return QStringLiteral("as root");
  }
  if (HasCapability(CapNetBindService)) {
    return QStringLiteral("with cap_net_bind_service");
  }
  return QStringLiteral("ports from %1 up being free to all")
      .arg(
          ReadSysctl(QStringLiteral("/proc/sys/net/ipv4/ip_unprivileged_port_start")).value_or(-1));
}

}  // namespace

QString Sudo() { return ::geteuid() == 0 ? QString() : QStringLiteral("sudo "); }

std::vector<BindAttempt> TryBindings(const BindingPlan& plan) {
  std::vector<BindAttempt> attempts;
  for (const std::vector<Address>* addresses : {&plan.bindings, &plan.receivers}) {
    for (const Address address : *addresses) {
      BindAttempt attempt{address, TryBind(address), {}, {}};
      if (attempt.error == EADDRINUSE) {
        attempt.holders = Holders(InodesHolding(address), attempt.pids);
      }
      attempts.push_back(attempt);
    }
  }
  return attempts;
}

void ExcludeOwnProcess(std::vector<BindAttempt>& attempts, long long ownPid) {
  if (ownPid == 0) {
    return;
  }
  const QString own = QString::number(ownPid);
  for (BindAttempt& attempt : attempts) {
    const qsizetype at = attempt.pids.indexOf(own);
    if (at < 0) {
      continue;
    }
    attempt.pids.removeAt(at);
    attempt.holders.removeAt(at);
    if (attempt.pids.isEmpty()) {
      attempt.error = 0;
    }
  }
}

PortFacts ReadPortFacts() {
  return {::geteuid(),
          ReadSysctl(QStringLiteral("/proc/sys/net/ipv4/ip_unprivileged_port_start")).value_or(-1),
          Privilege(), OwnPath()};
}

void CheckPort(const std::vector<BindAttempt>& attempts, const PortFacts& facts,
               std::vector<Verdict>& out) {
  QStringList bound;
  bool denied = false;
  for (const BindAttempt& attempt : attempts) {
    if (attempt.error == 0) {
      bound << Dotted(attempt.address);
    } else if (attempt.error == EACCES) {
      denied = true;
    } else if (attempt.error == EADDRINUSE) {
      out.push_back(
          {QStringLiteral("port"),
           Dotted(attempt.address),
           Verdict::Level::Problem,
           attempt.holders.isEmpty()
               ? QStringLiteral("998 is held by another program, which this user may not see")
               : QStringLiteral("998 is held by ") + attempt.holders.join(QStringLiteral(", ")),
           attempt.holders.isEmpty()
               ? QStringLiteral("sudo ss -ulpn 'sport = :998'")
               : QStringLiteral("kill ") + attempt.pids.join(QLatin1Char(' ')),
           {}});
    } else {
      out.push_back({QStringLiteral("port"),
                     Dotted(attempt.address),
                     Verdict::Level::Problem,
                     QStringLiteral("998 cannot be bound: ") +
                         QString::fromLocal8Bit(std::strerror(attempt.error)),
                     QString(),
                     {}});
    }
  }
  if (denied) {
    out.push_back(
        {QStringLiteral("port"),
         QString(),
         Verdict::Level::Problem,
         QStringLiteral("binding port 998 is refused: this user (uid %1) is not root, the "
                        "program lacks cap_net_bind_service, and net.ipv4.ip_unprivileged_"
                        "port_start is %2")
             .arg(facts.uid)
             .arg(facts.unprivilegedPortStart),
         QStringLiteral("sudo setcap cap_net_bind_service=+ep ") + facts.ownPath,
         {}});
  } else if (!bound.isEmpty() && bound.size() == static_cast<qsizetype>(attempts.size())) {
    out.push_back({QStringLiteral("port"),
                   QString(),
                   Verdict::Level::Ok,
                   QStringLiteral("998 can be bound on %1 (%2)")
                       .arg(bound.join(QStringLiteral(", ")), facts.privilege),
                   QString(),
                   {}});
  }
}

}  // namespace tb::diagnosis::linux_checks
