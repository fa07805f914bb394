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
  }

  // `services` empty: the program's own, every datagram through the fan-out.
  void Make(std::optional<MainServices> services = std::nullopt) {
    if (!services) {
      services = MainServices::System();
    }
    TExchange::Events events;
    events.clearList = [] {};
    events.addDevice = [](const AnsiString&, const TIdSocketHandle&) {};
    events.windowOpened = [](ExchangeMode) {};
    events.windowEnded = [] {};
    events.configurationEnded = [this](bool success, TargetReply) { outcome_ = success; };
    events.showMessage = [](const AnsiString&) {};
    exchange_.emplace(*services, events);
    exchange_->SetUpBindings();
  }

  // Sends the request and runs its whole window.
  std::optional<bool> Configure(
      const std::function<void()>& afterSend = [] {}, const AnsiString& mac = TargetMac) {
    outcome_.reset();
    ConfigRequest request;
    request.password = "clave01";
    request.mac = mac;
    request.dhcp = true;
    exchange_->SendConfiguration(request);
    afterSend();
    lab::PumpUntil([this] { return outcome_.has_value(); }, 3000ms);
    return outcome_;
  }

  std::optional<TExchange> exchange_;
  std::optional<bool> outcome_;
};

TEST_F(ExchangeLab, AReplyReadBeforeTheRequestLeftIsNotItsAnswer) {
  lab::Peer device_{"dev1", "10.77.0.2", 998};
  ASSERT_TRUE(device_.Ok());
  MainServices services;
  services.listHostAddresses = [] { return std::vector<AnsiString>{"10.77.0.1"}; };
  // The request itself goes nowhere: the peer answers on cue.
  services.sendCommand = [](const AnsiString&) {};
  Make(services);
  // The first send binds the endpoint's sockets.
  exchange_->UDPServer().Send("10.77.0.2", 998, "HELLO()");
  const std::string ack = std::string("ACK(") + TargetMac + ")";
  // Read by the endpoint while its thread is busy elsewhere (a password
  // prompt): queued, not yet handled.
  const std::uint64_t before = exchange_->UDPServer().ArrivalsSoFar();
  device_.Send(ack, "10.77.0.1", 998);
  const auto deadline = std::chrono::steady_clock::now() + 2s;
  while (exchange_->UDPServer().ArrivalsSoFar() == before &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(1ms);
  }
  ASSERT_GT(exchange_->UDPServer().ArrivalsSoFar(), before);
  EXPECT_EQ(Configure(), std::optional<bool>(false));

  // The same reply after the request is its answer.
  EXPECT_EQ(Configure([&] { device_.Send(ack, "10.77.0.1", 998); }), std::optional<bool>(true));
}

// The password goes only where its device was heard: the other network of
// the computer hears nothing of the request.
TEST_F(ExchangeLab, AConfigurationReachesOnlyTheNetworksItsDeviceWasHeardOn) {
  const std::string dir = ::testing::TempDir();
  const lab::Simulator dev1("dev1", dir + "tb-core-dev1.log", TB_FLEET_PATH);
  const lab::Simulator dev2("dev2", dir + "tb-core-dev2.log", TB_FLEET_PATH);
  ASSERT_TRUE(dev1.Ready() && dev2.Ready()) << "simulators did not start";
  Make();
  exchange_->RefreshDevices();
  lab::PumpFor(700ms);
  EXPECT_EQ(Configure([] {}, "00:1A:2B:3C:4D:01"), std::optional<bool>(true));
  EXPECT_GE(lab::Count(dev1.Log(), "data=CONFIG(clave01,00:1A:2B:3C:4D:01,"), 1U) << dev1.Log();
  EXPECT_EQ(lab::Count(dev2.Log(), "CONFIG("), 0U) << dev2.Log();
  EXPECT_GE(lab::Count(dev2.Log(), "HELLO()"), 1U) << dev2.Log();
}

}  // namespace
}  // namespace tb
