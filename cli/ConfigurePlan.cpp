// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConfigurePlan.h"

#include "cli/Batch.h"
#include "cli/Console.h"
#include "common/Exception.h"
#include "core/ConfigEntryChecks.h"
#include "core/IPAddressChecks.h"
#include "core/Latin1.h"

namespace tb::cli {

namespace {

constexpr char PasswordMask[] = "********";

ConfigEntry Entry(const QString& text) { return {ToAnsi(text), !IsLatin1(text)}; }

}  // namespace

QString CheckAddresses(Order& order, const QString& ip, const QString& netmask,
                       const QString& gateway) {
  if (order.dhcp) {
    return {};
  }
  order.ip = Entry(ip).text;
  order.netmask = Entry(netmask).text;
  order.gateway = Entry(gateway).text;
  try {
    for (const AnsiString* address : {&order.ip, &order.netmask, &order.gateway}) {
      ValidateWholeIPAddress(*address);
    }
    AnsiString message;
    if (!AreConfigAddressesSendable(
            order.ip, [&] { return order.gateway; }, message)) {
      return Text(message);
    }
  } catch (const Exception& error) {
    return Text(error.Message());
  }
  return {};
}

Order BatchOrder(const BatchEntry& entry, QString& why) {
  Order order;
  order.where = QStringLiteral("line %1: ").arg(entry.line);
  order.mac = entry.mac;
  order.dhcp = entry.dhcp;
  order.hostName = entry.hostName;
  order.password = entry.password;
  why = CheckAddresses(order, entry.ip, entry.netmask, entry.gateway);
  if (why.isEmpty()) {
    why = CheckLengths(order.hostName, order.password);
  }
  return order;
}

QString CheckLengths(const std::optional<QString>& hostName,
                     const std::optional<QString>& password) {
  if (hostName && hostName->size() > HostNameLength) {
    return QStringLiteral("the host name is longer than %1 characters").arg(HostNameLength);
  }
  if (password && password->size() > PasswordLength) {
    return QStringLiteral("the password is longer than %1 characters").arg(PasswordLength);
  }
  return {};
}

bool Plan(const Order& order, const DeviceRow& row, const QString& password, ConfigRequest& request,
          QString& refusal) {
  request = CurrentSettings(row);
  request.dhcp = order.dhcp;
  if (!order.dhcp) {
    request.ip = order.ip;
    request.netmask = order.netmask;
    request.gateway = order.gateway;
  }
  ConfigEntry hostName{request.hostName, false};
  if (order.hostName && !order.hostName->isEmpty()) {
    if (!request.hostNameEnabled) {
      refusal = QStringLiteral("%1 takes no host name").arg(Text(row.caption));
      return false;
    }
    hostName = Entry(*order.hostName);
    request.hostName = hostName.text;
  }
  const ConfigEntry passwordEntry = Entry(password);
  request.password = passwordEntry.text;
  AnsiString message;
  if (!AreConfigEntriesSendable(passwordEntry, request.hostNameEnabled ? &hostName : nullptr,
                                message)) {
    refusal = Text(message);
    return false;
  }
  return true;
}

AnsiString Masked(ConfigRequest request) {
  if (!request.password.empty()) {
    request.password = PasswordMask;
  }
  return BuildConfigCommand(request);
}

}  // namespace tb::cli
