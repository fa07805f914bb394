// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "common/AnsiString.h"
#include "core/ChangeTimer.h"
#include "core/ExchangeMode.h"
#include "core/MainServices.h"
#include "core/TargetList.h"
#include "protocol/Message.h"

namespace tb {

class TIdMemoryStream;
class TIdSocketHandle;
class TIdUDPServer;

// The last reply that named the target of a configuration window.
enum class TargetReply { None, Ack, Nak };

// The program's two exchanges with the devices, the query and the
// configuration: the endpoint, the listening window's timer and the state
// that decides what a received datagram means. It owns no list and no window:
// what a front end shows is told through Events, on the thread that created
// the exchange (a thread running a Qt event loop).
class TExchange {
 public:
  struct Events {
    // A query starts: the list is to be emptied.
    std::function<void()> clearList;
    // A discovery reply during a query, with the binding it arrived on.
    std::function<void(const AnsiString& text, const TIdSocketHandle& binding)> addDevice;
    // A listening window has begun (Querying or Configuring).
    std::function<void(ExchangeMode mode)> windowOpened;
    // The timer has ended the window, before any outcome.
    std::function<void()> windowEnded;
    // A configuration window has ended; `success` is FConfigOk. FConfigOk
    // and FTargetMAC are cleared after this returns.
    std::function<void(bool success, TargetReply last)> configurationEnded;
    // One of the program's own messages: a failed send, no local address.
    std::function<void(const AnsiString& text)> showMessage;
  };

  TExchange(MainServices services, Events events);
  // The endpoint goes first, so that no datagram reaches a front end that is
  // being torn down.
  ~TExchange();
  TExchange(const TExchange&) = delete;
  TExchange& operator=(const TExchange&) = delete;

  // One binding on port 998 per host address.
  void SetUpBindings();

  // What a query asks by unicast besides its broadcasts, from the next query on.
  void SetTargets(std::vector<TargetEntry> targets) { targets_ = std::move(targets); }
  const std::vector<TargetEntry>& Targets() const { return targets_; }
  // Whether a reply from `sender` (a dotted address) came through a target.
  bool IsFromTarget(const AnsiString& sender) const;

  void RefreshDevices();
  // Sends the request, makes its MAC the target and opens the 1000 ms window.
  void SendConfiguration(const ConfigRequest& request);
  void SendCommand(const AnsiString& text);
  void SetExchangeMode(ExchangeMode mode);

  void UDPServerUDPRead(TIdUDPServer& Sender, TIdMemoryStream& AData, TIdSocketHandle& ABinding);
  void tmrTimeoutTimer();

  // The most MACs whose bindings a query remembers: the hosts of a /16.
  static constexpr std::size_t MaxHeardDevices = 65536;

  // Length of a query's window; the program's is QueryWindowMs.
  void SetQueryWindow(int milliseconds) { queryWindowMs_ = milliseconds; }

  // What a datagram now means.
  ExchangeMode FExchangeMode() const { return exchangeMode_; }
  // A configuration window's outcome so far, and the MAC it is for.
  bool FConfigOk() const { return configOk_; }
  const AnsiString& FTargetMAC() const { return targetMAC_; }
  // The endpoint and the listening window's timer, for the hooks of tests
  // and benchmarks.
  TIdUDPServer& UDPServer() const { return *udpServer_; }
  TChangeTimer& tmrTimeout() { return tmrTimeout_; }

 private:
  void SendToTargets(const AnsiString& text, const std::vector<TargetEntry>& targets);

  bool ReceivedAfterWindow(const TIdUDPServer& sender) const;

  // How long a window's end waits for the listener to read what the system
  // holds; far longer than a read pass takes even on a busy machine.
  static constexpr std::chrono::milliseconds WindowEndReadLimit{250};

  ExchangeMode exchangeMode_ = ExchangeMode::Idle;
  bool configOk_ = false;
  AnsiString targetMAC_;
  std::unique_ptr<TIdUDPServer> udpServer_;
  TChangeTimer tmrTimeout_;
  MainServices services_;
  Events events_;
  int queryWindowMs_ = QueryWindowMs;
  TargetReply lastTargetReply_ = TargetReply::None;
  // The endpoint's arrival count when the configuration request was sent.
  std::uint64_t configFence_ = 0;
  // The bindings that heard each MAC (MacDigits) in the last query, for the networks a
  // configuration request is sent to; at most MaxHeardDevices MACs.
  std::map<AnsiString, std::set<AnsiString>> heardOn_;
  std::vector<TargetEntry> targets_;
  // Where each MAC heard through a target in the last query answered from;
  // a configuration request goes there by unicast too. At most MaxHeardDevices.
  std::map<AnsiString, Ipv4> targetReplies_;
};

}  // namespace tb
