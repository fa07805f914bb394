#include "cli/Batch.h"

namespace tb::cli {

namespace {

constexpr int FieldsWithoutPassword = 5;
constexpr int FieldsWithPassword = 6;

// The fields of one CSV record; false when a quote is left open or stray.
bool SplitRecord(const QString& line, QStringList& fields) {
  fields.clear();
  QString field;
  bool quoted = false;
  bool wasQuoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (quoted) {
      if (c != QLatin1Char('"')) {
        field += c;
      } else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
        field += c;
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == QLatin1Char(',')) {
      fields << field;
      field.clear();
      wasQuoted = false;
    } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
      quoted = true;
      wasQuoted = true;
    } else if (wasQuoted) {
      return false;  // text after a closing quote
    } else {
      field += c;
    }
  }
  fields << field;
  return !quoted;
}

}  // namespace

BatchFile ParseBatch(const QString& text) {
  BatchFile file;
  // Spreadsheets often start their CSV with a byte-order mark.
  const QStringList lines =
      (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(QLatin1Char('\n'));
  bool first = true;
  for (qsizetype n = 0; n < lines.size(); ++n) {
    QString line = lines[n];
    if (line.endsWith(QLatin1Char('\r'))) {
      line.chop(1);
    }
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) {
      continue;
    }
    const int number = static_cast<int>(n) + 1;
    const QString where = QStringLiteral("line %1: ").arg(number);
    QStringList fields;
    if (!SplitRecord(line, fields)) {
      file.errors << where + QStringLiteral("a quoted field is not closed properly");
      first = false;
      continue;
    }
    if (std::exchange(first, false) &&
        fields[0].trimmed().startsWith(QLatin1String("mac"), Qt::CaseInsensitive)) {
      continue;
    }
    if (fields.size() != FieldsWithoutPassword && fields.size() != FieldsWithPassword) {
      file.errors << where + QStringLiteral(
                                 "%1 fields; MAC,ADDRESS,NETMASK,GATEWAY,HOSTNAME "
                                 "and, if it has its own, PASSWORD are expected")
                                 .arg(fields.size());
      continue;
    }
    BatchEntry entry;
    entry.line = number;
    entry.mac = fields[0].trimmed();
    entry.ip = fields[1].trimmed();
    entry.netmask = fields[2].trimmed();
    entry.gateway = fields[3].trimmed();
    entry.hostName = fields[4];
    if (fields.size() == FieldsWithPassword) {
      entry.password = fields[5];
    }
    entry.dhcp = entry.ip.compare(QLatin1String("dhcp"), Qt::CaseInsensitive) == 0;
    if (entry.mac.isEmpty()) {
      file.errors << where + QStringLiteral("no MAC");
    } else if (entry.dhcp && (!entry.netmask.isEmpty() || !entry.gateway.isEmpty())) {
      file.errors << where + QStringLiteral("DHCP takes no netmask and no gateway");
    } else {
      file.entries.push_back(entry);
    }
  }
  return file;
}

}  // namespace tb::cli
