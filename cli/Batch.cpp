// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Batch.h"

#include <map>
#include <utility>

#include "core/Latin1.h"
#include "protocol/DeviceRow.h"

namespace tb::cli {

namespace {

constexpr int FieldsWithoutPassword = 5;
constexpr int FieldsWithPassword = 6;

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// The fields of one CSV record; false when a quote is left open or text
// follows a closing one. A field is trimmed of its blanks; within quotes,
// blanks are its own. Blanks before an opening quote are a spreadsheet's
// padding, not part of the field.
bool SplitRecord(const QString& line, QStringList& fields) {
  fields.clear();
  QString field;
  bool quoted = false;
  bool wasQuoted = false;
  const auto endField = [&] {
    fields << (wasQuoted ? field : field.trimmed());
    field.clear();
    wasQuoted = false;
  };
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
      endField();
    } else if (c == QLatin1Char('"') && field.trimmed().isEmpty() && !wasQuoted) {
      field.clear();
      quoted = true;
      wasQuoted = true;
    } else if (wasQuoted) {
      if (!IsBlank(c)) {
        return false;  // text after a closing quote
      }
    } else {
      field += c;
    }
  }
  endField();
  return !quoted;
}

}  // namespace

BatchFile ParseBatch(const QString& text) {
  BatchFile file;
  // Spreadsheets often start their CSV with a byte-order mark.
  const QStringList lines =
      (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(QLatin1Char('\n'));
  bool first = true;
  // In FindDevice's notation: the lines that would name one device.
  std::map<AnsiString, int> lineOfMac;
  for (qsizetype n = 0; n < lines.size(); ++n) {
    // A carriage return is a line end's, in whatever number a program wrote
    // it: never part of a value.
    QString line = lines[n];
    line.remove(QLatin1Char('\r'));
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
    // An empty PASSWORD field, a trailing comma included, is no password of
    // its own: the batch's is meant.
    if (fields.size() == FieldsWithPassword && !fields[5].isEmpty()) {
      entry.password = fields[5];
    }
    entry.dhcp = entry.ip.compare(QLatin1String("dhcp"), Qt::CaseInsensitive) == 0;
    if (entry.mac.isEmpty()) {
      file.errors << where + QStringLiteral("no MAC");
    } else if (entry.dhcp && (!entry.netmask.isEmpty() || !entry.gateway.isEmpty())) {
      file.errors << where + QStringLiteral("DHCP takes no netmask and no gateway");
    } else if (const auto [seen, added] = lineOfMac.emplace(MacDigits(ToAnsi(entry.mac)), number);
               !added) {
      file.errors << where + QStringLiteral("%1 is listed again (first on line %2)")
                                 .arg(entry.mac)
                                 .arg(seen->second);
    } else {
      file.entries.push_back(entry);
    }
  }
  return file;
}

}  // namespace tb::cli
