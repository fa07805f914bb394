// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Session.h"

#include <bit>

#include "cli/Console.h"
#include "cli/DeviceLookup.h"
#include "cli/ExitCodes.h"
#include "common/Exception.h"
#include "core/IPAddressChecks.h"
#include "net/IdSocketHandle.h"

namespace tb::cli {

namespace {

// The 32-bit value of a dotted address, or false when the text is none.
bool AddressValue(const AnsiString& text, std::uint32_t& value) {
  try {
    value = 0;
    for (std::uint8_t n = 1; n <= 4; ++n) {
      value = (value << 8U) | GetIPOctet(text, n);
    }
    return true;
  } catch (const Exception&) {
    return false;
  }
}

}  // namespace

TSession::TSession(const std::vector<TargetEntry>& targets)
    : exchange_(MainServices::System(),
                TExchange::Events{
                    .clearList =
                        [this] {
                          devices_.Clear();
                          heardOn_.clear();
                          answeredFrom_.clear();
                        },
                    .addDevice =
                        [this](const AnsiString& text, const TIdSocketHandle& binding) {
                          DeviceRow row = MakeDeviceRow(text);
                          const AnsiString mac = row.MAC();
                          if (devices_.AddRow(std::move(row))) {
                            heardOn_[mac] = binding.IP;
                            if (exchange_.IsFromTarget(binding.SenderAddress)) {
                              answeredFrom_[mac] = binding.SenderAddress;
                            }
                          }
                        },
                    .windowOpened = [](ExchangeMode) {},
                    .windowEnded =
                        [this] {
                          if (loop_ != nullptr) {
                            loop_->quit();
                          }
                        },
                    .configurationEnded =
                        [this](bool success, TargetReply last) {
                          outcome_ = success ? TargetReply::Ack
                                             : (last == TargetReply::Nak ? TargetReply::Nak
                                                                         : TargetReply::None);
                        },
                    .showMessage =
                        [this](const AnsiString& text) {
                          sendFailed_ = true;
                          Err(Text(text));
                        },
                }) {
  exchange_.SetUpBindings();
  exchange_.SetTargets(targets);
}

void TSession::Query(int windowMs) {
  exchange_.SetQueryWindow(windowMs);
  exchange_.RefreshDevices();
  RunWindow();
  // The networks as they stand when the replies came in.
  GetLocalInterfaces(interfaces_);
}

TargetReply TSession::Configure(const ConfigRequest& request) {
  outcome_ = TargetReply::None;
  exchange_.SendConfiguration(request);
  RunWindow();
  return outcome_;
}

void TSession::RunWindow() {
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
}

bool TSession::TakeSendFailure() { return std::exchange(sendFailed_, false); }

const DeviceRow* TSession::Find(const QString& mac, int& status) {
  const DeviceRow* row = FindDevice(devices_, mac, status);
  if (row == nullptr && TakeSendFailure() && status == ExitNoDevice) {
    status = ExitCommunication;
  }
  return row;
}

AnsiString TSession::HeardOn(const AnsiString& mac) const {
  const auto it = heardOn_.find(mac);
  return it == heardOn_.end() ? AnsiString() : it->second;
}

AnsiString TSession::AnsweredFrom(const AnsiString& mac) const {
  const auto it = answeredFrom_.find(mac);
  return it == answeredFrom_.end() ? AnsiString() : it->second;
}

const TLocalInterface* TSession::InterfaceOf(const AnsiString& localAddress) const {
  for (const TLocalInterface& entry : interfaces_) {
    if (entry.IPAddress == localAddress) {
      return &entry;
    }
  }
  return nullptr;
}

bool TSession::InSubnet(const DeviceRow& row) const {
  const TLocalInterface* local = InterfaceOf(HeardOn(row.MAC()));
  std::uint32_t device = 0;
  std::uint32_t address = 0;
  std::uint32_t netmask = 0;
  if (local == nullptr || !AddressValue(row.subItems[SubIP], device) ||
      !AddressValue(local->IPAddress, address) || !AddressValue(local->NetMask, netmask)) {
    return false;
  }
  return device != 0 && (device & netmask) == (address & netmask);
}

QString TSession::Unreachable(const DeviceRow& row) const {
  // A device that answered through a target from its own address is routed.
  if (InSubnet(row) ||
      (ThroughTarget(row.MAC()) && AnsweredFrom(row.MAC()) == row.subItems[SubIP])) {
    return {};
  }
  const AnsiString& ip = row.subItems[SubIP];
  const QString who = QStringLiteral("%1 (%2)").arg(Text(row.caption), Text(row.MAC()));
  std::uint32_t device = 0;
  if (!AddressValue(ip, device) || device == 0) {
    return who + QStringLiteral(" has no IP address yet (\"%1\"): its web page cannot be reached")
                     .arg(Text(ip));
  }
  const AnsiString heardOn = HeardOn(row.MAC());
  QString network = Text(heardOn);
  const TLocalInterface* local = InterfaceOf(heardOn);
  std::uint32_t netmask = 0;
  if (local != nullptr && AddressValue(local->NetMask, netmask)) {
    network = Text(local->NetAddress) + QStringLiteral("/%1").arg(std::countl_one(netmask));
  }
  return who + QStringLiteral(
                   " at %1 answered on %2, outside that network (%3): it can be "
                   "configured, but its web page cannot be reached from here")
                   .arg(Text(ip), Text(heardOn), network);
}

}  // namespace tb::cli
