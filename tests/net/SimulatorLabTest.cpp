// The endpoint against the device simulator playing the example fleet on both subnets.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "FanOut.h"
#include "IdStack.h"
#include "IdUDPServer.h"
#include "LabSupport.h"
#include "Message.h"

namespace tb {
namespace {

using namespace std::chrono_literals;

// One simulator in a device namespace, stopped with SIGTERM.
class Simulator {
 public:
  Simulator(const std::string& role, const std::string& log) : log_(log) {
    std::remove(log.c_str());  // an old log would read as ready at once
    pid_ = ::fork();
    if (pid_ == 0) {
      const std::string ns = lab::Namespace(role);
      ::execl("/usr/sbin/ip", "ip", "netns", "exec", ns.c_str(), TB_DEVSIM_PATH, "--fleet",
              TB_FLEET_PATH, "--host", role.c_str(), "--log", log.c_str(), nullptr);
      ::_exit(127);
    }
    lab::PumpUntil([&] { return Log().rfind("READY", 0) == 0; }, 5000ms);
  }
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;
  ~Simulator() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  std::string Log() const {
    std::ifstream in(log_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  std::string log_;
  pid_t pid_ = -1;
};

TEST(SimulatorLabTest, QueryFindsTheWholeFleetAndConfigureIsAnswered) {
  if (const std::string why = lab::SkipReason(); !why.empty()) GTEST_SKIP() << why;
  const std::string dir = ::testing::TempDir();
  const Simulator dev1("dev1", dir + "tb-sim-dev1.log");
  const Simulator dev2("dev2", dir + "tb-sim-dev2.log");

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
