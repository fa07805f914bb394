// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <unordered_map>
#include <vector>

#include "core/DeviceListModel.h"
#include "core/Exchange.h"
#include "net/LocalInterfaces.h"

namespace tb::cli {

// One run of the program against the network: the program's own exchange
// over its endpoint and fan-out, the device list it fills, and what the
// command line needs beyond the window: where each reply came in.
class TSession {
 public:
  explicit TSession(const std::vector<TargetEntry>& targets = {});
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  // Runs one query and returns when its window has ended.
  void Query(int windowMs);

  const DeviceListModel& Devices() const { return devices_; }
  // FindDevice among the devices the query found; a MAC that none has is a
  // communication error when the query could not be sent everywhere.
  const DeviceRow* Find(const QString& mac, int& status);
  // Whether the first reply of this MAC came from a listed target.
  bool ThroughTarget(const AnsiString& mac) const { return answeredFrom_.contains(mac); }
  // The address that reply came from, or empty when it came from no target.
  AnsiString AnsweredFrom(const AnsiString& mac) const;
  // The local address that the first reply of this MAC arrived on.
  AnsiString HeardOn(const AnsiString& mac) const;
  // Whether the device's address lies in the network of the local address
  // its reply arrived on; false too when it has no usable address.
  bool InSubnet(const DeviceRow& row) const;
  // Why the device's web page cannot be reached from here, or empty when it
  // lies in the network its answer came in on.
  QString Unreachable(const DeviceRow& row) const;

  // Sends one configuration request and returns, when its window has ended,
  // the last reply that named the device (Ack only when the window's outcome
  // is success).
  TargetReply Configure(const ConfigRequest& request);

  // Whether a send failed since the last call; the message has been shown.
  bool TakeSendFailure();

 private:
  void RunWindow();
  const TLocalInterface* InterfaceOf(const AnsiString& localAddress) const;

  DeviceListModel devices_;
  std::unordered_map<AnsiString, AnsiString> heardOn_;
  std::unordered_map<AnsiString, AnsiString> answeredFrom_;
  std::vector<TLocalInterface> interfaces_;
  bool sendFailed_ = false;
  TargetReply outcome_ = TargetReply::None;
  QEventLoop* loop_ = nullptr;
  TExchange exchange_;
};

}  // namespace tb::cli
