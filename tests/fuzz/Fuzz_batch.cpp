// SPDX-License-Identifier: GPL-3.0-or-later
// Batch files as a spreadsheet may save them, read as brelvan reads them. Every
// line is either a device, an error or the header; a device reads back the same
// from its fields written out again; and on a line without quotes its fields
// are the cells between the commas.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "cli/Batch.h"

namespace {

void Check(bool holds) {
  if (!holds) {
    std::abort();
  }
}

QString Quoted(QString field) {
  return QLatin1Char('"') + field.replace(QLatin1Char('"'), QLatin1String("\"\"")) +
         QLatin1Char('"');
}

// The entry as one quoted record after a header line, so that a MAC starting
// with "mac" is not taken for the header.
QString Written(const tb::cli::BatchEntry& entry) {
  QStringList fields{entry.mac, entry.ip, entry.netmask, entry.gateway, entry.hostName};
  if (entry.password) {
    fields << *entry.password;
  }
  for (QString& field : fields) {
    field = Quoted(field);
  }
  return QStringLiteral("mac\r\n") + fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

bool SameFields(const tb::cli::BatchEntry& a, const tb::cli::BatchEntry& b) {
  return a.mac == b.mac && a.dhcp == b.dhcp && a.ip == b.ip && a.netmask == b.netmask &&
         a.gateway == b.gateway && a.hostName == b.hostName && a.password == b.password;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // As brelvan reads the file.
  const QString text =
      QString::fromLocal8Bit(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
  const tb::cli::BatchFile batch = tb::cli::ParseBatch(text);

  QStringList lines =
      (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(QLatin1Char('\n'));
  qsizetype records = 0;
  for (QString& line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) {
      line.chop(1);
    }
    records += line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')) ? 0 : 1;
  }
  const auto accounted = qsizetype(batch.entries.size()) + batch.errors.size();
  Check(accounted == records || accounted + 1 == records);

  int previous = 0;
  for (const tb::cli::BatchEntry& entry : batch.entries) {
    Check(entry.line > previous && entry.line <= lines.size());
    previous = entry.line;

    const tb::cli::BatchFile again = tb::cli::ParseBatch(Written(entry));
    Check(again.errors.isEmpty() && again.entries.size() == 1 &&
          SameFields(again.entries.front(), entry));

    const QString& line = lines[entry.line - 1];
    if (!line.contains(QLatin1Char('"'))) {
      const QStringList cells = line.split(QLatin1Char(','));
      Check(cells.size() == (entry.password ? 6 : 5));
      Check(entry.mac == cells[0].trimmed() && entry.ip == cells[1].trimmed() &&
            entry.netmask == cells[2].trimmed() && entry.gateway == cells[3].trimmed() &&
            entry.hostName == cells[4] && (!entry.password || *entry.password == cells[5]));
    }
  }
  return 0;
}
