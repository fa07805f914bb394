// SPDX-License-Identifier: GPL-3.0-or-later
// Batch files as a spreadsheet may save them, read as brelvan reads them. Every
// line is either a device, an error or the header; a device reads back the same
// from its fields written out again; on a line without quotes its fields are
// the cells between the commas, trimmed; and the request a device reads from
// an accepted line carries that line's values and nothing else.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/Batch.h"
#include "cli/ConfigurePlan.h"
#include "core/Latin1.h"
#include "protocol/DeviceRow.h"
#include "protocol/Message.h"

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

// The device every line is planned against, and the password for the lines
// without their own.
const char* const DeviceReply =
    "NTM(1113,2.4.17,00:1A:2B:3C:4D:5E,192.168.10.42,255.255.255.0,192.168.10.1,0,plant-gw-07,"
    "Boiler room A)";
const char* const BatchPassword = "clave01";

// What the device reads, field by field, from the request planned for the
// entry, when the checks let it go out: the password, the device's own MAC,
// the line's addresses (0.0.0.0 for DHCP) and its host name, else the
// device's. The request brelvan shows differs only in the password.
void CheckPlannedRequest(const tb::cli::BatchEntry& entry) {
  QString why;
  const tb::cli::Order order = tb::cli::BatchOrder(entry, why);
  static const tb::DeviceRow device = tb::MakeDeviceRow(DeviceReply);
  const QString password = entry.password.value_or(QString::fromLatin1(BatchPassword));
  tb::ConfigRequest request;
  if (!why.isEmpty() || !tb::cli::Plan(order, device, password, request, why)) {
    return;
  }
  const tb::ConfigRequest current = tb::CurrentSettings(device);
  std::vector<std::string> expected{tb::ToAnsi(password), device.MAC()};
  if (entry.dhcp) {
    expected.insert(expected.end(), {"0.0.0.0", "0.0.0.0", "0.0.0.0"});
  } else {
    expected.insert(expected.end(),
                    {tb::ToAnsi(entry.ip), tb::ToAnsi(entry.netmask), tb::ToAnsi(entry.gateway)});
  }
  if (current.hostNameEnabled) {
    expected.push_back(entry.hostName.isEmpty() ? current.hostName : tb::ToAnsi(entry.hostName));
  }
  const std::string text = tb::BuildConfigCommand(request);
  const std::string shown = tb::cli::Masked(request);
  Check(tb::GetCommandName(text) == "CONFIG" && tb::GetField(text, 1, '(') == expected[0]);
  // A typed "()" makes the text count as fieldless, by HasFields' own rule.
  Check(text.find("()") != std::string::npos || (tb::HasFields(text, int(expected.size())) &&
                                                 !tb::HasFields(text, int(expected.size()) + 1)));
  for (std::size_t k = 1; k < expected.size(); ++k) {
    Check(tb::GetField(text, int(k), ',') == expected[k] &&
          tb::GetField(shown, int(k), ',') == expected[k]);
  }
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
    line.remove(QLatin1Char('\r'));
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
      Check(cells.size() == 5 || cells.size() == 6);
      Check(entry.password.has_value() == (cells.size() == 6 && !cells[5].trimmed().isEmpty()));
      Check(entry.mac == cells[0].trimmed() && entry.ip == cells[1].trimmed() &&
            entry.netmask == cells[2].trimmed() && entry.gateway == cells[3].trimmed() &&
            entry.hostName == cells[4].trimmed() &&
            (!entry.password || *entry.password == cells[5].trimmed()));
    }
    CheckPlannedRequest(entry);
  }
  return 0;
}
