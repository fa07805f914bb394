// SPDX-License-Identifier: GPL-3.0-or-later
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/ExitCodes.h"
#include "cli/OutputFormats.h"
#include "cli/Session.h"

namespace tb::cli {

namespace {

// The list's columns as the window shows them, then what the command line adds.
const char* const TextColumns[] = {"Dispositivo", "Host",       "MAC",       "Version",
                                   "DHCP",        "IP Address", "Netmask",   "Gateway",
                                   "Heard on",    "In subnet",  "Via target"};
const char* const DataColumns[] = {"device",   "host",      "mac",
                                   "version",  "dhcp",      "ip",
                                   "netmask",  "gateway",   "host_name_accepted",
                                   "heard_on", "in_subnet", "via_target"};

struct Listed {
  const DeviceRow* row;
  AnsiString heardOn;
  bool inSubnet;
  bool viaTarget;
};

QStringList Cells(const Listed& device) {
  QStringList cells{Text(device.row->caption)};
  for (int sub = SubHost; sub < SubHostNameMarker; ++sub) {
    cells << Text(device.row->subItems[sub]);
  }
  return cells;
}

bool AcceptsHostName(const Listed& device) {
  return device.row->subItems[SubHostNameMarker] == tb::AcceptsHostName;
}

void PrintTable(const std::vector<Listed>& devices) {
  std::vector<QStringList> rows(1);
  for (const char* column : TextColumns) {
    rows[0] << QString::fromUtf8(column);
  }
  for (const Listed& device : devices) {
    rows.push_back(
        Cells(device) << Text(device.heardOn)
                      << (device.inSubnet ? QStringLiteral("yes") : QStringLiteral("no"))
                      << (device.viaTarget ? QStringLiteral("yes") : QStringLiteral("no")));
  }
  OutTable(rows);
}

void PrintJson(const std::vector<Listed>& devices) {
  QJsonArray array;
  for (const Listed& device : devices) {
    const QStringList cells = Cells(device);
    QJsonObject object;
    for (qsizetype i = 0; i < cells.size(); ++i) {
      object.insert(QString::fromUtf8(DataColumns[i]), cells[i]);
    }
    object.insert(QStringLiteral("host_name_accepted"), AcceptsHostName(device));
    object.insert(QStringLiteral("heard_on"), Text(device.heardOn));
    object.insert(QStringLiteral("in_subnet"), device.inSubnet);
    object.insert(QStringLiteral("via_target"), device.viaTarget);
    array.append(object);
  }
  Out(JsonText(QJsonDocument(array)));
}

void PrintCsv(const std::vector<Listed>& devices) {
  QStringList header;
  for (const char* column : DataColumns) {
    header << QString::fromUtf8(column);
  }
  Out(header.join(QLatin1Char(',')));
  for (const Listed& device : devices) {
    QStringList fields;
    for (const QString& cell : Cells(device)) {
      fields << CsvField(cell);
    }
    fields << (AcceptsHostName(device) ? QStringLiteral("true") : QStringLiteral("false"))
           << Text(device.heardOn)
           << (device.inSubnet ? QStringLiteral("true") : QStringLiteral("false"))
           << (device.viaTarget ? QStringLiteral("true") : QStringLiteral("false"));
    Out(fields.join(QLatin1Char(',')));
  }
}

}  // namespace

int Discover(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("discover"));
  const QCommandLineOption json = line.Option(QStringLiteral("json"));
  const QCommandLineOption csv = line.Option(QStringLiteral("csv"));
  if (const auto done = line.ParseOptionsOnly(arguments)) {
    return *done;
  }
  const int windowMs = line.WindowMs();
  if (line.IsSet(json) && line.IsSet(csv)) {
    return line.Refuse(QStringLiteral("--json and --csv exclude each other"));
  }

  TSession session(line.Targets());
  session.Query(windowMs);
  const bool sendFailed = session.TakeSendFailure();

  std::vector<Listed> devices;
  for (int i = 0; i < session.Devices().Count(); ++i) {
    const DeviceRow& row = session.Devices().Row(i);
    devices.push_back({&row, session.HeardOn(row.MAC()), session.InSubnet(row),
                       session.ThroughTarget(row.MAC())});
  }
  if (line.IsSet(json)) {
    PrintJson(devices);
  } else if (line.IsSet(csv)) {
    PrintCsv(devices);
  } else if (!devices.empty()) {
    PrintTable(devices);
  }
  for (const Listed& device : devices) {
    if (const QString why = session.Unreachable(*device.row); !why.isEmpty()) {
      Err(why);
    }
  }
  if (const int unlisted = session.Devices().Unlisted(); unlisted > 0) {
    Err(QStringLiteral("%1 more answers came from devices beyond the %2 that a list holds; "
                       "they are not listed")
            .arg(unlisted)
            .arg(DeviceListModel::MaxRows));
  }
  if (devices.empty()) {
    Err(QStringLiteral("no device answered within %1 ms").arg(windowMs));
    if (sendFailed) {
      Err(QStringLiteral("the query could not be sent everywhere; 'brelvan doctor' says why"));
      return ExitCommunication;
    }
    return ExitNoDevice;
  }
  return ExitOk;
}

}  // namespace tb::cli
