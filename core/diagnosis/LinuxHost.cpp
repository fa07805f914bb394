// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/LinuxHost.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "net/IdStack.h"
#include "net/SocketLayer.h"

namespace tb::diagnosis::linux_host {

namespace {

constexpr int ToolTimeoutMs = 10000;

}  // namespace

QString NameOf(const InterfaceAddress& entry) {
  return QString::fromLocal8Bit(entry.name.data(), static_cast<qsizetype>(entry.name.size()));
}

std::vector<InterfaceAddress> ListInterfaces() {
  std::vector<InterfaceAddress> list;
  socketlayer::ListInterfaces(list);
  return list;
}

std::vector<AnsiString> HostAddresses() {
  try {
    return ListHostAddresses();
  } catch (...) {
    return {};
  }
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

}  // namespace tb::diagnosis::linux_host
