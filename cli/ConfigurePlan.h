// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "common/AnsiString.h"
#include "protocol/DeviceRow.h"
#include "protocol/Message.h"

namespace tb::cli {

struct BatchEntry;

// One device's configuration as asked for on the command line or a batch line.
struct Order {
  QString where;  // "line N: " for a batch line
  QString mac;
  bool dhcp = false;
  AnsiString ip;
  AnsiString netmask;
  AnsiString gateway;
  std::optional<QString> hostName;
  std::optional<QString> password;
};

// The address checks, in the dialog's order: each text must be an address,
// the IP a host's and the gateway a host's or 0.0.0.0. Empty when they pass.
QString CheckAddresses(Order& order, const QString& ip, const QString& netmask,
                       const QString& gateway);

// What the dialog's boxes would not take. Empty when both fit.
QString CheckLengths(const std::optional<QString>& hostName,
                     const std::optional<QString>& password);

// A batch line's order, with the checks it passes before any device is
// asked: `why` is empty when it passes them.
Order BatchOrder(const BatchEntry& entry, QString& why);

// Builds the request for the device that answered, from the settings it
// answered with; false with the reason when it may not go out.
bool Plan(const Order& order, const DeviceRow& row, const QString& password, ConfigRequest& request,
          QString& refusal);

// The request as brelvan shows it: the password masked.
AnsiString Masked(ConfigRequest request);

}  // namespace tb::cli
