// SPDX-License-Identifier: GPL-3.0-or-later
// The endpoint against the device simulator playing the example fleet on both subnets.
#include <gtest/gtest.h>
#include <set>

#include "core/FanOut.h"
#include "net/IdStack.h"
#include "net/IdUDPServer.h"
#include "protocol/Message.h"
#include "tests/support/LabSupport.h"

namespace tb {
namespace {

using namespace std::chrono_literals;

TEST(SimulatorLabTest, QueryFindsTheWholeFleetAndConfigureIsAnswered) {
  if (const std::string why = lab::SkipReason(); !why.empty()) GTEST_SKIP() << why;
  const std::string dir = ::testing::TempDir();
  const lab::Simulator dev1("dev1", dir + "tb-sim-dev1.log", TB_FLEET_PATH);
  const lab::Simulator dev2("dev2", dir + "tb-sim-dev2.log", TB_FLEET_PATH);

  TIdUDPServer server;
  server.BroadcastEnabled = true;
  std::set<std::string> macs;
  std::vector<std::string> answers;
  server.OnUDPRead = [&](TIdUDPServer&, TIdMemoryStream& data, TIdSocketHandle&) {
    const std::string text = data.DataString();
    if (GetCommandName(text) == "NTM")
      macs.insert(GetField(text, 2, ','));
    else
      answers.push_back(text);
  };
  std::vector<AnsiString> messages;
  const auto show = [&](const AnsiString& m) { messages.push_back(m); };
  SetUpBindings(
      server, [] { return ListHostAddresses(); }, show);
  SendCommandFanOut("HELLO()", server, GetLocalInterfaces, show);
  lab::PumpUntil([&] { return macs.size() >= 12; }, 2000ms);
  std::string seen;
  for (const auto& m : macs) seen += m + " ";
  EXPECT_EQ(macs.size(), 12U) << "every device of both subnets, whichever way it answers: " << seen;
  EXPECT_TRUE(messages.empty());

  const std::string config =
      "CONFIG(clave11,00:1A:2B:3C:5E:01,10.78.0.50,255.255.255.0,"
      "10.78.0.1,planta-a2)";
  SendCommandFanOut(config, server, GetLocalInterfaces, show);
  SendCommandFanOut("CONFIG(wrong,00:1A:2B:3C:4D:01,0.0.0.0,0.0.0.0,0.0.0.0)", server,
                    GetLocalInterfaces, show);
  lab::PumpUntil([&] { return answers.size() >= 2; }, 2000ms);
  lab::PumpFor(200ms);
  // Each request reaches a device once by its directed broadcast, and once more
  // by the limited broadcast when the sending binding is on its subnet.
  EXPECT_GE(std::count(answers.begin(), answers.end(), "ACK(00:1A:2B:3C:5E:01)"), 1);
  EXPECT_GE(std::count(answers.begin(), answers.end(), "NAK(00:1A:2B:3C:4D:01)"), 1);
  EXPECT_NE(dev2.Log().find(" len=" + std::to_string(config.size()) + " data=" + config),
            std::string::npos);
}

}  // namespace
}  // namespace tb
