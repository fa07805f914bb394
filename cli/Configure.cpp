// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <vector>

#include "cli/Batch.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ConfigurePlan.h"
#include "cli/Console.h"
#include "cli/DeviceLookup.h"
#include "cli/ExitCodes.h"
#include "cli/Passwords.h"
#include "cli/Session.h"
#include "core/ExchangeTexts.h"

namespace tb::cli {

namespace {

// How one device's configuration ended.
struct Result {
  const DeviceRow* row = nullptr;
  AnsiString request;  // as sent, password masked
  QString outcome;
  int status = ExitOk;
};

QString PromptFor(const DeviceRow& row) {
  return QStringLiteral("Password of %1 (%2): ").arg(Text(row.caption), Text(row.MAC()));
}

// Sends one planned request and says how it ended.
void Send(TSession& session, const ConfigRequest& request, Result& result) {
  session.TakeSendFailure();
  const TargetReply reply = session.Configure(request);
  const bool sendFailed = session.TakeSendFailure();
  switch (reply) {
    case TargetReply::Ack:
      result.outcome = QStringLiteral("ACK");
      result.status = ExitOk;
      break;
    case TargetReply::Nak:
      result.outcome = QStringLiteral("NAK: refused (wrong password?)");
      result.status = ExitRefused;
      break;
    case TargetReply::None:
      result.outcome = sendFailed ? QStringLiteral("not sent: communication error")
                                  : QStringLiteral("no answer within %1 ms").arg(ConfigureWindowMs);
      result.status = sendFailed ? ExitCommunication : ExitSilent;
      break;
  }
}

int ConfigureOne(TPasswordSource& passwords, const Order& order, int windowMs, bool dryRun,
                 const std::vector<TargetEntry>& targets) {
  TSession session(targets);
  session.Query(windowMs);
  int status = ExitOk;
  const DeviceRow* row = session.Find(order.mac, status);
  if (row == nullptr) {
    return status;
  }
  const std::optional<QString> password = passwords.Get(PromptFor(*row));
  if (!password) {
    return ExitUsage;
  }
  ConfigRequest request;
  if (QString why = CheckLengths(std::nullopt, password);
      !why.isEmpty() || !Plan(order, *row, *password, request, why)) {
    Err(why);
    return ExitUsage;
  }
  if (dryRun) {
    Out(Text(Masked(request)));
    return ExitOk;
  }
  Result result;
  Send(session, request, result);
  Out(Text(result.status == ExitOk ? ConfigSuccessText : ConfigFailureText)
          .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  Err(QStringLiteral("%1 (%2): %3").arg(Text(row->caption), Text(row->MAC()), result.outcome));
  return result.status;
}

void PrintSummary(const std::vector<Result>& results, const std::vector<Order>& orders) {
  std::vector<QStringList> rows{{QStringLiteral("MAC"), QStringLiteral("Dispositivo"),
                                 QStringLiteral("Request"), QStringLiteral("Outcome")}};
  for (std::size_t i = 0; i < results.size(); ++i) {
    const Result& r = results[i];
    rows.push_back({r.row != nullptr ? Text(r.row->MAC()) : orders[i].mac,
                    r.row != nullptr ? Text(r.row->caption) : QString(), Text(r.request),
                    r.outcome});
  }
  OutTable(rows);
}

int ConfigureBatch(TPasswordSource& passwords, const QString& path, int windowMs, bool dryRun,
                   const std::vector<TargetEntry>& targets) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    Err(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    return ExitUsage;
  }
  const BatchFile batch = ParseBatch(QString::fromLocal8Bit(file.readAll()));
  QStringList errors = batch.errors;
  std::vector<Order> orders;
  bool needsPassword = false;
  for (const BatchEntry& entry : batch.entries) {
    QString why;
    Order order = BatchOrder(entry, why);
    if (!why.isEmpty()) {
      errors << order.where + why;
    }
    needsPassword = needsPassword || !entry.password;
    orders.push_back(order);
  }
  if (!errors.isEmpty() || orders.empty()) {
    for (const QString& error : errors) {
      Err(path + QStringLiteral(", ") + error);
    }
    Err(orders.empty() && errors.isEmpty() ? QStringLiteral("%1 lists no device").arg(path)
                                           : QStringLiteral("nothing was sent"));
    return ExitUsage;
  }
  std::optional<QString> common;
  if (needsPassword) {
    common = passwords.Get(QStringLiteral("Password of the devices without their own: "));
    if (!common) {
      return ExitUsage;
    }
    if (const QString why = CheckLengths(std::nullopt, common); !why.isEmpty()) {
      Err(why);
      return ExitUsage;
    }
  }

  TSession session(targets);
  session.Query(windowMs);
  // Every line is resolved to its device and its request before the first
  // datagram leaves: a line the checks refuse stops the whole batch.
  std::vector<Result> results(orders.size());
  std::vector<ConfigRequest> requests(orders.size());
  QStringList refusals;
  for (std::size_t i = 0; i < orders.size(); ++i) {
    const Order& order = orders[i];
    Result& result = results[i];
    int status = ExitOk;
    result.row = FindDevice(session.Devices(), order.mac, status);
    QString refusal;
    if (result.row == nullptr) {
      result.outcome = status == ExitNoDevice ? QStringLiteral("not heard")
                                              : QStringLiteral("MAC matches several devices");
      result.status = status;
    } else if (!Plan(order, *result.row, order.password.value_or(common.value_or(QString())),
                     requests[i], refusal)) {
      refusals << order.where + refusal;
    } else {
      result.request = Masked(requests[i]);
    }
  }
  if (!refusals.isEmpty()) {
    for (const QString& refusal : refusals) {
      Err(path + QStringLiteral(", ") + refusal);
    }
    Err(QStringLiteral("nothing was sent"));
    return ExitUsage;
  }
  bool anyFailed = false;
  for (std::size_t i = 0; i < orders.size(); ++i) {
    Result& result = results[i];
    if (result.row != nullptr) {
      if (dryRun) {
        result.outcome = QStringLiteral("not sent (dry run)");
      } else {
        Send(session, requests[i], result);
      }
    }
    anyFailed = anyFailed || result.status != ExitOk;
    Err(QStringLiteral("[%1/%2] %3 %4: %5")
            .arg(i + 1)
            .arg(orders.size())
            .arg(result.row != nullptr ? Text(result.row->MAC()) : orders[i].mac,
                 result.row != nullptr ? Text(result.row->caption) : QStringLiteral("-"),
                 result.outcome));
  }
  PrintSummary(results, orders);
  return anyFailed ? ExitFailed : ExitOk;
}

}  // namespace

int Configure(const QStringList& arguments) {
  TCommandLine line(QStringLiteral("configure"));
  const QCommandLineOption dhcp = line.Option(QStringLiteral("dhcp"));
  const QCommandLineOption ip = line.Option(QStringLiteral("ip"));
  const QCommandLineOption netmask = line.Option(QStringLiteral("netmask"));
  const QCommandLineOption gateway = line.Option(QStringLiteral("gateway"));
  const QCommandLineOption hostName = line.Option(QStringLiteral("hostname"));
  const QCommandLineOption batch = line.Option(QStringLiteral("batch"));
  const QCommandLineOption dryRun = line.Option(QStringLiteral("dry-run"));
  TPasswordSource passwords(line);
  if (const auto done = line.Parse(arguments)) {
    return *done;
  }
  const int windowMs = line.WindowMs();
  const bool addresses = line.IsSet(ip) || line.IsSet(netmask) || line.IsSet(gateway);
  if (line.IsSet(batch)) {
    if (!line.Positional().isEmpty() || line.IsSet(dhcp) || addresses || line.IsSet(hostName)) {
      return line.Refuse(QStringLiteral("--batch takes the devices from its file alone"));
    }
    if (!passwords.Load()) {
      return ExitUsage;
    }
    return ConfigureBatch(passwords, line.Value(batch), windowMs, line.IsSet(dryRun),
                          line.Targets());
  }
  if (line.Positional().size() != 1) {
    return line.Refuse(QStringLiteral("configure takes one MAC, or --batch FILE"));
  }
  if (line.IsSet(dhcp) == addresses) {
    return line.Refuse(QStringLiteral("give either --dhcp or --ip, --netmask and --gateway"));
  }
  if (addresses && !(line.IsSet(ip) && line.IsSet(netmask) && line.IsSet(gateway))) {
    return line.Refuse(QStringLiteral("--ip, --netmask and --gateway go together"));
  }
  Order order;
  order.mac = line.Positional().constFirst();
  order.dhcp = line.IsSet(dhcp);
  if (line.IsSet(hostName)) {
    order.hostName = line.Value(hostName);
  }
  QString why = CheckAddresses(order, line.Value(ip), line.Value(netmask), line.Value(gateway));
  if (why.isEmpty()) {
    why = CheckLengths(order.hostName, std::nullopt);
  }
  if (!why.isEmpty()) {
    Err(why);
    return ExitUsage;
  }
  if (!passwords.Load()) {
    return ExitUsage;
  }
  return ConfigureOne(passwords, order, windowMs, line.IsSet(dryRun), line.Targets());
}

}  // namespace tb::cli
