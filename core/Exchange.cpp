// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exchange.h"

#include "core/FanOut.h"
#include "core/ProcessGuard.h"
#include "net/IdUDPServer.h"
#include "net/RouteSource.h"
#include "protocol/DeviceRow.h"

namespace tb {

TExchange::TExchange(MainServices services, Events events)
    : udpServer_(std::make_unique<TIdUDPServer>()),
      services_(std::move(services)),
      events_(std::move(events)) {
  tmrTimeout_.OnTimer = [this] { tmrTimeoutTimer(); };
  udpServer_->BroadcastEnabled = true;
  udpServer_->DefaultPort = 0;
  udpServer_->BufferSize = 8192;
  udpServer_->ThreadedEvent = false;
  udpServer_->OnUDPRead = [this](TIdUDPServer& sender, TIdMemoryStream& data,
                                 TIdSocketHandle& binding) {
    UDPServerUDPRead(sender, data, binding);
  };
}

TExchange::~TExchange() { udpServer_.reset(); }

void TExchange::SetUpBindings() {
  tb::SetUpBindings(*udpServer_, services_.listHostAddresses, events_.showMessage);
}

void TExchange::SendCommand(const AnsiString& text) {
  if (services_.sendCommand) {
    services_.sendCommand(text);
    return;
  }
  SendCommandFanOut(text, *udpServer_, services_.getLocalInterfaces, events_.showMessage);
  if (udpServer_->Active()) {
    DropBindCapability();
  }
}

bool TExchange::IsFromTarget(const AnsiString& sender) const {
  const auto address = ParseDottedIPv4(sender);
  return address && TargetsHold(targets_, *address);
}

void TExchange::SendToTargets(const AnsiString& text, const std::vector<TargetEntry>& targets) {
  if (services_.sendCommand || targets.empty()) {
    return;
  }
  const std::function<Ipv4(Ipv4)> system = [](Ipv4 destination) {
    return RouteSource(destination);
  };
  tb::SendToTargets(text, *udpServer_, targets,
                    services_.routeSource ? services_.routeSource : system, events_.showMessage);
}

void TExchange::SetExchangeMode(ExchangeMode mode) {
  exchangeMode_ = mode;
  tmrTimeout_.SetInterval(queryWindowMs_);
  if (mode == ExchangeMode::Configuring) {
    tmrTimeout_.SetInterval(ConfigureWindowMs);
  }
  tmrTimeout_.SetEnabled(true);
  if (mode == ExchangeMode::Idle) {
    tmrTimeout_.SetEnabled(false);
  } else {
    events_.windowOpened(mode);
  }
}

void TExchange::RefreshDevices() {
  events_.clearList();
  heardOn_.clear();
  targetReplies_.clear();
  SendCommand(QueryCommand);
  SendToTargets(QueryCommand, targets_);
  SetExchangeMode(ExchangeMode::Querying);
}

void TExchange::SendConfiguration(const ConfigRequest& request) {
  // What the endpoint read before the request left cannot answer it, however
  // long it waited for its handler (behind a password prompt, say).
  configFence_ = udpServer_->ArrivalsSoFar();
  const auto heard = heardOn_.find(MacDigits(request.mac));
  if (heard == heardOn_.end() || services_.sendCommand) {
    SendCommand(BuildConfigCommand(request));
  } else {
    SendCommandFanOutFrom(BuildConfigCommand(request), *udpServer_, heard->second,
                          services_.getLocalInterfaces, events_.showMessage);
  }
  // Every copy is the same request: however many answers it gets, the
  // window still has one outcome, decided as for the broadcast alone.
  if (const auto replied = targetReplies_.find(MacDigits(request.mac));
      replied != targetReplies_.end() && !services_.sendCommand) {
    SendToTargets(BuildConfigCommand(request), {TargetEntry{replied->second, 32}});
  }
  targetMAC_ = request.mac;
  // Only a reply to this request may decide its outcome: a flag left set by
  // an abandoned window, or by an ACK with an empty MAC after the last
  // outcome, would report a silent device as configured. Cleared after the
  // send, so nothing handled while a send failure is on screen counts either.
  configOk_ = false;
  lastTargetReply_ = TargetReply::None;
  SetExchangeMode(ExchangeMode::Configuring);
}

void TExchange::UDPServerUDPRead(TIdUDPServer& Sender, TIdMemoryStream& AData,
                                 TIdSocketHandle& ABinding) {
  const AnsiString text = AData.DataString();
  switch (exchangeMode_) {
    case ExchangeMode::Idle:
      configOk_ = false;
      break;
    case ExchangeMode::Querying:
      if (ReceivedAfterWindow(Sender)) {
        break;
      }
      if (GetCommandName(text) == "NTM") {
        const AnsiString mac = MacDigits(MakeDeviceRow(text).MAC());
        if (heardOn_.size() < MaxHeardDevices || heardOn_.contains(mac)) {
          heardOn_[mac].insert(ABinding.IP);
        }
        if (IsFromTarget(ABinding.SenderAddress) &&
            (targetReplies_.size() < MaxHeardDevices || targetReplies_.contains(mac))) {
          targetReplies_.emplace(mac, *ParseDottedIPv4(ABinding.SenderAddress));
        }
        events_.addDevice(text, ABinding);
      }
      break;
    case ExchangeMode::Configuring: {
      if (&Sender == udpServer_.get() && Sender.DeliveringArrival() < configFence_) {
        break;
      }
      if (ReceivedAfterWindow(Sender)) {
        break;
      }
      const AnsiString name = GetCommandName(text);
      if (name == "NAK" && GetField(text, 1, '(') == targetMAC_) {
        configOk_ = false;
        lastTargetReply_ = TargetReply::Nak;
      } else if (name == "ACK" && GetField(text, 1, '(') == targetMAC_) {
        configOk_ = true;
        lastTargetReply_ = TargetReply::Ack;
      }
      break;
    }
  }
}

// A reply the system received after the window's end does not count, even
// when its handler runs before the late timer does.
bool TExchange::ReceivedAfterWindow(const TIdUDPServer& sender) const {
  return &sender == udpServer_.get() && tmrTimeout_.Enabled() &&
         sender.DeliveringReceivedAt() > tmrTimeout_.DueNs();
}

void TExchange::tmrTimeoutTimer() {
  // The timer runs late when the machine is busy, and replies received well
  // inside the window may still wait for the listener or for their handler:
  // they are heard first.
  if (tmrTimeout_.Enabled()) {
    udpServer_->DeliverReceivedBefore(tmrTimeout_.DueNs(), WindowEndReadLimit);
  }
  tmrTimeout_.SetEnabled(false);
  events_.windowEnded();
  if (exchangeMode_ == ExchangeMode::Configuring) {
    events_.configurationEnded(configOk_, lastTargetReply_);
    configOk_ = false;
    targetMAC_.clear();
    lastTargetReply_ = TargetReply::None;
  } else {
    exchangeMode_ = ExchangeMode::Idle;
  }
}

}  // namespace tb
