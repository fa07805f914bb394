// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration window against a peer in the lab: only what the endpoint
// reads after the request leaves may decide it.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <vector>

#include "core/Exchange.h"
#include "net/IdUDPServer.h"
#include "protocol/Message.h"
#include "tests/support/LabSupport.h"

namespace tb {
namespace {

using namespace std::chrono_literals;

constexpr char TargetMac[] = "00:C1:00:00:00:01";

class ExchangeLab : public testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = lab::SkipReason(); !why.empty()) {
      GTEST_SKIP() << why;
    }
    MainServices services;
    services.listHostAddresses = [] { return std::vector<AnsiString>{"10.77.0.1"}; };
    // The request itself goes nowhere: the peer answers on cue.
    services.sendCommand = [](const AnsiString&) {};
    TExchange::Events events;
    events.clearList = [] {};
    events.addDevice = [](const AnsiString&, const TIdSocketHandle&) {};
    events.windowOpened = [](ExchangeMode) {};
    events.windowEnded = [] {};
    events.configurationEnded = [this](bool success, TargetReply) { outcome_ = success; };
    events.showMessage = [](const AnsiString&) {};
    exchange_.emplace(services, events);
    exchange_->SetUpBindings();
    // The first send binds the endpoint's sockets.
    exchange_->UDPServer->Send("10.77.0.2", 998, "HELLO()");
  }

  // Sends the request and runs its whole window.
  std::optional<bool> Configure(const std::function<void()>& afterSend = [] {}) {
    outcome_.reset();
    ConfigRequest request;
    request.password = "clave01";
    request.mac = TargetMac;
    request.dhcp = true;
    exchange_->SendConfiguration(request);
    afterSend();
    lab::PumpUntil([this] { return outcome_.has_value(); }, 3000ms);
    return outcome_;
  }

  lab::Peer device_{"dev1", "10.77.0.2", 998};
  std::optional<TExchange> exchange_;
  std::optional<bool> outcome_;
};

TEST_F(ExchangeLab, AReplyReadBeforeTheRequestLeftIsNotItsAnswer) {
  ASSERT_TRUE(device_.Ok());
  const std::string ack = std::string("ACK(") + TargetMac + ")";
  // Read by the endpoint while its thread is busy elsewhere (a password
  // prompt): queued, not yet handled.
  const std::uint64_t before = exchange_->UDPServer->ArrivalsSoFar();
  device_.Send(ack, "10.77.0.1", 998);
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (exchange_->UDPServer->ArrivalsSoFar() == before &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_GT(exchange_->UDPServer->ArrivalsSoFar(), before);
  EXPECT_EQ(Configure(), std::optional<bool>(false));

  // The same reply after the request is its answer.
  EXPECT_EQ(Configure([&] { device_.Send(ack, "10.77.0.1", 998); }), std::optional<bool>(true));
}

}  // namespace
}  // namespace tb
