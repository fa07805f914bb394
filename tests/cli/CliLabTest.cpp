// SPDX-License-Identifier: GPL-3.0-or-later
// brelvan as a user runs it, inside the lab's PC namespace, against
// simulated devices on both subnets.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/ChildProgram.h"
#include "tests/support/LabSupport.h"

namespace tb {
namespace {

using namespace std::chrono_literals;
using lab::Count;
using lab::ReadFile;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

struct Outcome {
  int status = -1;
  std::string out;  // standard output alone
  std::string err;
};

// The lab PC's setting of a file under /proc/sys, put back when the test ends.
class SysctlGuard {
 public:
  SysctlGuard(std::string path, const std::string& value)
      : path_(std::move(path)), saved_(ReadFile(path_)) {
    WriteFile(path_, value);
  }
  SysctlGuard(const SysctlGuard&) = delete;
  SysctlGuard& operator=(const SysctlGuard&) = delete;
  ~SysctlGuard() { WriteFile(path_, saved_); }

 private:
  std::string path_;
  std::string saved_;
};

std::string RpFilter(const std::string& conf) {
  return "/proc/sys/net/ipv4/conf/" + conf + "/rp_filter";
}

class CliLab : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const std::string why = lab::SkipReason(); !why.empty()) {
      GTEST_SKIP() << why;
    }
    // The device on a foreign subnet is heard only with the filter off,
    // whatever the lab inherited from its host.
    for (const char* conf : {"all", "default", "eth0", "eth1"}) {
      filters_.push_back(std::make_unique<SysctlGuard>(RpFilter(conf), "0"));
    }
    const std::string dir = ::testing::TempDir();
    // brelvan's saved list of other networks, never the user's.
    ::setenv("XDG_CONFIG_HOME", (dir + "tb-cli-config").c_str(), 1);
    dev1 = std::make_unique<lab::Simulator>("dev1", dir + "tb-cli-dev1.log", TB_CLI_FLEET_PATH);
    dev2 = std::make_unique<lab::Simulator>("dev2", dir + "tb-cli-dev2.log", TB_CLI_FLEET_PATH);
    ASSERT_TRUE(dev1->Ready() && dev2->Ready()) << "simulators did not start";
  }

  void TearDown() override {
    dev1.reset();
    dev2.reset();
    filters_.clear();
  }

  // In the PC's namespace, or behind `wrapper` ("ip netns exec NS").
  static Outcome Brelvan(const std::vector<std::string>& args,
                         const std::vector<std::string>& wrapper = {}) {
    const std::string err = ::testing::TempDir() + "tb-cli-stderr";
    std::vector<std::string> shell{"-c", "exec \"$@\" 2>" + err, "sh"};
    shell.insert(shell.end(), wrapper.begin(), wrapper.end());
    shell.emplace_back(TB_BRELVAN_PATH);
    shell.insert(shell.end(), args.begin(), args.end());
    lab::ChildProgram child("/bin/sh", shell);
    const lab::ChildProgram::Result result = child.Wait(30s);
    return {result.exited ? result.status : -1, result.output, ReadFile(err)};
  }

  std::string Logs() const { return dev1->Log() + dev2->Log(); }

#ifdef TB_APP_PROBE_PATH
  // The verdicts the window's "Diagnóstico..." shows, run from its menu in
  // the program started as a user starts it; its pictures and report are
  // kept in `dir`.
  static QJsonObject WindowDiagnosis(const std::string& dir) {
    lab::ChildProgram child("/usr/bin/env",
                            {"QT_QPA_PLATFORM=offscreen", TB_APP_PROBE_PATH, "--diagnose", dir});
    const std::string out = child.Wait(60s).output;
    const std::size_t at = out.find("diagnosis ");
    if (at == std::string::npos) {
      return {};
    }
    const std::string json = out.substr(at + 10, out.find('\n', at) - at - 10);
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
  }
#endif

  // NOLINTBEGIN(misc-non-private-member-variables-in-classes)
  std::unique_ptr<lab::Simulator> dev1;
  std::unique_ptr<lab::Simulator> dev2;
  // NOLINTEND(misc-non-private-member-variables-in-classes)

 private:
  std::vector<std::unique_ptr<SysctlGuard>> filters_;
};

TEST_F(CliLab, DiscoverListsTheFleetWithWhereEachAnswerCameInAndForeignSubnets) {
  const Outcome run = Brelvan({"discover", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const QJsonArray devices = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
  struct Expected {
    const char* device;
    const char* mac;
    const char* host;
    const char* heardOn;
    bool inSubnet;
  };
  // Caption order; every reply route; the repeated answer of Alfa counted once.
  const std::vector<Expected> expected{
      {"Alfa", "00:C1:00:00:00:01", "alfa", "10.77.0.1", true},
      {"Bravo", "00-c1-00-00-00-02", "-", "10.77.0.1", true},
      {"Callado", "00:C1:00:00:00:03", "callado", "10.77.0.1", true},
      {"Delta", "00:C2:00:00:00:01", "delta", "10.78.0.1", true},
      {"Eco", "00:C2:00:00:00:02", "-", "10.78.0.1", true},
      {"Foraneo", "00:C1:00:00:00:04", "foraneo", "10.77.0.1", false},
  };
  ASSERT_EQ(devices.size(), static_cast<qsizetype>(expected.size())) << run.out;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const QJsonObject d = devices[static_cast<qsizetype>(i)].toObject();
    EXPECT_EQ(d["device"].toString().toStdString(), expected[i].device);
    EXPECT_EQ(d["mac"].toString().toStdString(), expected[i].mac) << expected[i].device;
    EXPECT_EQ(d["host"].toString().toStdString(), expected[i].host) << expected[i].device;
    EXPECT_EQ(d["host_name_accepted"].toBool(), std::string(expected[i].host) != "-");
    EXPECT_EQ(d["heard_on"].toString().toStdString(), expected[i].heardOn) << expected[i].device;
    EXPECT_EQ(d["in_subnet"].toBool(), expected[i].inSubnet) << expected[i].device;
  }
  EXPECT_NE(run.err.find("Foraneo (00:C1:00:00:00:04) at 192.168.77.50"), std::string::npos)
      << run.err;
  // What a device sends never drives the terminal.
  const Outcome table = Brelvan({"discover"});
  EXPECT_EQ(table.out.find('\x1b'), std::string::npos);
  EXPECT_NE(table.out.find("1.0\\x1b[2J"), std::string::npos) << table.out;

  dev1.reset();
  dev2.reset();
  const Outcome none = Brelvan({"discover", "--json", "--timeout", "200"});
  EXPECT_EQ(none.status, 3);
  EXPECT_EQ(none.out, "[\n]\n");
}

TEST_F(CliLab, ConfigureReportsAckNakAndSilenceEachWithItsStatus) {
  const std::string passwordFile = ::testing::TempDir() + "tb-cli-password";
  WriteFile(passwordFile, "pw1\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* sent;
  };
  const std::vector<Case> cases{
      {{"00:c1:00:00:00:01", "--ip", "10.77.0.61", "--netmask", "255.255.255.0", "--gateway",
        "10.77.0.1", "--hostname", "alfa2", "--password-file", passwordFile},
       0,
       "CONFIG(pw1,00:C1:00:00:00:01,10.77.0.61,255.255.255.0,10.77.0.1,alfa2)"},
      {{"00:C1:00:00:00:04", "--dhcp", "--password", "bad"},
       4,
       "CONFIG(bad,00:C1:00:00:00:04,0.0.0.0,0.0.0.0,0.0.0.0,foraneo)"},
      // From the environment.
      {{"00:C1:00:00:00:03", "--dhcp"},
       5,
       "CONFIG(pw3,00:C1:00:00:00:03,0.0.0.0,0.0.0.0,0.0.0.0,callado)"},
      // Refused before anything is sent, with the dialog's own message.
      {{"00:C1:00:00:00:03", "--ip", "10.77.0.255", "--netmask", "255.255.255.0", "--gateway",
        "0.0.0.0"},
       2,
       nullptr},
  };
  ::setenv("BRELVAN_PASSWORD", "pw3", 1);
  for (const Case& c : cases) {
    std::vector<std::string> args{"configure"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const std::size_t before = Count(Logs(), "data=CONFIG(");
    const Outcome run = Brelvan(args);
    EXPECT_EQ(run.status, c.status) << c.args[0] << "\n" << run.out << run.err;
    if (c.sent != nullptr) {
      EXPECT_GE(Count(Logs(), std::string(" data=") + c.sent + "\n"), 1U) << c.sent;
    } else {
      EXPECT_EQ(Count(Logs(), "data=CONFIG("), before);
      EXPECT_NE(run.err.find("Direcci\xC3\xB3n IP no v\xC3\xA1lida."), std::string::npos)
          << run.err;
    }
  }
  ::unsetenv("BRELVAN_PASSWORD");
}

TEST_F(CliLab, BatchSendsEachFormOnceAndReportsTheDeviceThatRefused) {
  const std::string batch = ::testing::TempDir() + "tb-cli-batch.csv";
  WriteFile(batch,
            "mac,address,netmask,gateway,hostname,password\n"
            "# the four forms of the request, then a wrong password\n"
            "00:C1:00:00:00:01,10.77.0.61,255.255.255.0,10.77.0.1,alfa2,pw1\n"
            "00:C1:00:00:00:02,10.77.0.62,255.255.255.0,0.0.0.0,,pw2\n"
            "00:C2:00:00:00:01,dhcp,,,,pw5\n"
            "00:C2:00:00:00:02,DHCP,,,,pw6\n"
            "00:C1:00:00:00:04,dhcp,,,,Secreto9\n");
  const Outcome run = Brelvan({"configure", "--batch", batch});
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  const std::string logs = Logs();
  for (const char* sent : {
           "CONFIG(pw1,00:C1:00:00:00:01,10.77.0.61,255.255.255.0,10.77.0.1,alfa2)",
           "CONFIG(pw2,00-c1-00-00-00-02,10.77.0.62,255.255.255.0,0.0.0.0)",
           "CONFIG(pw5,00:C2:00:00:00:01,0.0.0.0,0.0.0.0,0.0.0.0,delta)",
           "CONFIG(pw6,00:C2:00:00:00:02,0.0.0.0,0.0.0.0,0.0.0.0)",
       }) {
    // Every datagram of the fan-out reaches each simulator's socket: one
    // request, however many copies.
    EXPECT_GE(Count(logs, std::string(" data=") + sent + "\n"), 1U) << sent;
  }
  EXPECT_EQ(Count(logs, "data=CONFIG(pw1,"), Count(logs, "data=CONFIG(pw2,"));
  // The summary: four acknowledged, the one refused named, passwords masked.
  EXPECT_EQ(Count(run.out, " ACK\n"), 4U) << run.out;
  const std::size_t refused = run.out.find("00:C1:00:00:00:04  Foraneo");
  ASSERT_NE(refused, std::string::npos) << run.out;
  const std::string line = run.out.substr(refused, run.out.find('\n', refused) - refused);
  EXPECT_NE(line.find("CONFIG(********,00:C1:00:00:00:04,0.0.0.0,"), std::string::npos) << line;
  EXPECT_NE(line.find("NAK"), std::string::npos) << line;
  EXPECT_EQ(run.out.find("Secreto9"), std::string::npos);
  EXPECT_NE(run.err.find("[5/5] 00:C1:00:00:00:04 Foraneo: NAK"), std::string::npos) << run.err;

  // One bad line, whether the file's checks or the device's refuse it, and
  // nothing at all goes out.
  const struct {
    const char* secondLine;
    const char* error;
  } bads[] = {
      {"00:C1:00:00:00:02,10.77.0.256,255.255.255.0,0.0.0.0,,pw2\n",
       "line 2: Triplets must be of range"},
      {"00:C1:00:00:00:02,10.77.0.62,255.255.255.0,0.0.0.0,,pw\u20ac\n", "line 2: "},
  };
  for (const auto& b : bads) {
    WriteFile(batch, std::string("00:C1:00:00:00:01,10.77.0.63,255.255.255.0,10.77.0.1,,pw1\n") +
                         b.secondLine);
    const std::size_t sent = Count(Logs(), "data=CONFIG(");
    const Outcome bad = Brelvan({"configure", "--batch", batch});
    EXPECT_EQ(bad.status, 2) << bad.err;
    EXPECT_NE(bad.err.find(b.error), std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find("nothing was sent"), std::string::npos) << bad.err;
    EXPECT_EQ(Count(Logs(), "data=CONFIG("), sent) << b.secondLine;
  }
}

// Each verdict's check, subject and level, in the report's order: what
// both fronts must agree on, whatever words they use. Unused where the
// window is not built.
[[maybe_unused]] std::vector<std::string> Verdicts(const QJsonObject& report) {
  std::vector<std::string> verdicts;
  for (const auto& item : report["verdicts"].toArray()) {
    const QJsonObject v = item.toObject();
    verdicts.push_back(
        (v["check"].toString() + ' ' + v["subject"].toString() + ": " + v["verdict"].toString())
            .toStdString());
  }
  return verdicts;
}

// One verdict of `brelvan doctor --json`.
QJsonObject VerdictOf(const QJsonObject& report, const QString& check, const QString& subject) {
  for (const auto& item : report["verdicts"].toArray()) {
    QJsonObject v = item.toObject();
    if (v["check"].toString() == check && v["subject"].toString().startsWith(subject)) {
      return v;
    }
  }
  return {};
}

TEST_F(CliLab, DoctorFindsEachFaultWithItsMendAndNothingOnACleanLab) {
  const std::string nftRules = ::testing::TempDir() + "tb-cli-nft";
  WriteFile(nftRules,
            "table inet tbclitest {\n"
            "  chain input {\n"
            "    type filter hook input priority 0; policy accept;\n"
            "    iifname \"lo\" accept\n"
            "    ct state established,related accept\n"
            "    udp dport { 53, 998 } drop\n"
            "  }\n"
            "}\n");
  std::unique_ptr<lab::ChildProgram> holder;
  struct Case {
    const char* fault;
    std::function<void()> make;
    std::function<void()> mend;
    const char* check;
    const char* subject;
    std::function<std::string()> expectedMend;
  };
  const std::vector<Case> cases{
      {"none", [] {}, [] {}, nullptr, nullptr, nullptr},
      {"rp_filter 1 with a device on another subnet", [] { WriteFile(RpFilter("all"), "1"); },
       [] { WriteFile(RpFilter("all"), "0"); }, "rp_filter", "eth0",
       [] {
         // The lab's PC has no default route: loose mode would drop it too.
         return std::string(
             "sysctl -w net.ipv4.conf.all.rp_filter=0 net.ipv4.conf.eth0.rp_filter=0");
       }},
      {"an nftables rule dropping UDP 998",
       [&] {
         lab::ChildProgram("/usr/sbin/nft", {"-f", nftRules}).Wait(10s);
       },
       [] {
         lab::ChildProgram("/usr/sbin/nft", {"delete", "table", "inet", "tbclitest"}).Wait(10s);
       },
       "firewall", "nftables inet tbclitest",
       [] { return std::string("nft insert rule inet tbclitest input udp dport 998 accept"); }},
      {"an interface down",
       [] {
         lab::ChildProgram("/usr/sbin/ip", {"link", "set", "dev", "eth1", "down"}).Wait(10s);
       },
       [] {
         lab::ChildProgram("/usr/sbin/ip", {"link", "set", "dev", "eth1", "up"}).Wait(10s);
       },
       "interface", "eth1", [] { return std::string("ip link set dev eth1 up"); }},
      {"port 998 held by another process",
       [&] {
         const std::string log = ::testing::TempDir() + "tb-cli-holder.log";
         std::remove(log.c_str());
         holder = std::make_unique<lab::ChildProgram>(
             TB_DEVSIM_PATH,
             std::vector<std::string>{"--fleet", "/dev/null", "--bind", "10.77.0.1", "--log", log});
         lab::PumpUntil([&] { return ReadFile(log).rfind("READY", 0) == 0; });
       },
       [&] { holder.reset(); }, "port", "10.77.0.1",
       [&] { return "kill " + std::to_string(holder->Pid()); }},
  };
  for (const Case& c : cases) {
    c.make();
    const Outcome run = Brelvan({"doctor", "--json", "--timeout", "300"});
    const QJsonObject report = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
#ifdef TB_APP_PROBE_PATH
    const QJsonObject window = WindowDiagnosis(::testing::TempDir());
    EXPECT_EQ(Verdicts(window), Verdicts(report)) << c.fault;
    EXPECT_EQ(window["problems"].toInt(), report["problems"].toInt()) << c.fault;
#endif
    if (c.check == nullptr) {
      EXPECT_EQ(run.status, 0) << run.out;
      EXPECT_EQ(report["problems"].toInt(), 0) << run.out;
    } else {
      EXPECT_EQ(run.status, 1) << c.fault;
      const QJsonObject verdict = VerdictOf(report, c.check, c.subject);
      EXPECT_EQ(verdict["verdict"].toString(), "problem") << c.fault << "\n" << run.out;
      EXPECT_EQ(verdict["mend"].toString().toStdString(), c.expectedMend()) << c.fault;
      if (holder) {
        EXPECT_EQ(verdict["detail"].toString().toStdString(),
                  "998 is held by tb-devsim (pid " + std::to_string(holder->Pid()) + ")");
      }
    }
    c.mend();
  }
}

// The lab's networks behind a router, and a PC behind a masquerading one
// (scripts/lab.sh routed up), with unicast devices there.
class CliRoutedLab : public CliLab {
 protected:
  void SetUp() override {
    CliLab::SetUp();
    if (IsSkipped() || HasFatalFailure()) {
      return;
    }
    ASSERT_EQ(Lab({"routed", "up"}), 0);
    far = std::make_unique<lab::Simulator>("far", ::testing::TempDir() + "tb-cli-far.log",
                                           TB_ROUTED_FLEET_PATH);
    ASSERT_TRUE(far->Ready());
  }
  void TearDown() override {
    far.reset();
    Lab({"routed", "down"});
    CliLab::TearDown();
  }
  static int Lab(const std::vector<std::string>& args) {
    return lab::ChildProgram(TB_LAB_SCRIPT, args).Wait(30s).status;
  }
  // The far simulator's log lines of datagrams it received.
  std::size_t FarReceived() const { return Count(far->Log(), "RECV "); }

  // NOLINTNEXTLINE(misc-non-private-member-variables-in-classes)
  std::unique_ptr<lab::Simulator> far;
};

// "Lejano Uno,true;..." of the rows a discover --json listed.
std::string Rows(const Outcome& run) {
  std::string rows;
  for (const auto& item : QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array()) {
    const QJsonObject d = item.toObject();
    rows += d["device"].toString().toStdString() + "," +
            (d["via_target"].toBool() ? "true" : "false") + ";";
  }
  return rows;
}

TEST_F(CliRoutedLab, DevicesBehindTheRouterAreFoundThroughAnAddressANetworkOrTheSavedList) {
  const Outcome one = Brelvan({"discover", "--json", "--target", "10.88.0.11"});
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_NE(Rows(one).find("Lejano Uno,true;"), std::string::npos) << one.out;
  EXPECT_EQ(Rows(one).find("Lejano Dos"), std::string::npos) << one.out;
  EXPECT_NE(Rows(one).find("Alfa,false;"), std::string::npos) << "the broadcasts go on";

  // The network's hosts and broadcast, each from the PC's address on the
  // router's side; the device that answers only by broadcast stays unheard.
  const Outcome net = Brelvan({"discover", "--json", "--target", "10.88.0.0/24"});
  EXPECT_EQ(net.status, 0) << net.err;
  EXPECT_NE(Rows(net).find("Lejano Dos,true;Lejano Uno,true;"), std::string::npos) << net.out;
  EXPECT_EQ(Rows(net).find("Mudo"), std::string::npos) << net.out;
  EXPECT_GE(Count(far->Log(), "RECV from=10.87.0.1:998 to=10.88.0.13 "), 1U);

  EXPECT_EQ(Brelvan({"targets", "add", "10.88.0.12"}).status, 0);
  EXPECT_EQ(Brelvan({"targets", "list"}).out, "10.88.0.12\n");
  const Outcome saved = Brelvan({"discover", "--csv"});
  EXPECT_NE(saved.out.find(",10.88.0.12,255.255.255.0,10.88.0.1,true,10.87.0.1,false,true\n"),
            std::string::npos)
      << saved.out;
  EXPECT_EQ(Brelvan({"targets", "remove", "10.88.0.12"}).status, 0);
  EXPECT_EQ(Brelvan({"targets", "list"}).out, "");
}

TEST_F(CliRoutedLab, ADeviceBehindTheRouterIsConfiguredByUnicastAndAcknowledges) {
  const Outcome run = Brelvan({"configure", "00:C8:00:00:00:01", "--dhcp", "--password", "pw8",
                               "--target", "10.88.0.0/24"});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(Count(far->Log(),
                  "RECV from=10.87.0.1:998 to=10.88.0.11 if=eth0 len=61 "
                  "data=CONFIG(pw8,00:C8:00:00:00:01,0.0.0.0,0.0.0.0,0.0.0.0,lejano1)\n"),
            1U)
      << far->Log();
  EXPECT_EQ(Count(far->Log(),
                  "SEND to=10.87.0.1:998 if=? len=22 count=1 "
                  "data=ACK(00:C8:00:00:00:01)\n"),
            1U)
      << far->Log();
}

TEST_F(CliRoutedLab, APcBehindNatFindsTheRoutedDevices) {
  const Outcome run = Brelvan({"discover", "--json", "--target", "10.88.0.0/24"},
                              {"/usr/sbin/ip", "netns", "exec", lab::Namespace("inner")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "") << "reached by its route, its web page is too";
  EXPECT_EQ(Rows(run), "Lejano Dos,true;Lejano Uno,true;") << run.out;
  EXPECT_GE(Count(far->Log(), "RECV from=10.86.0.2:"), 2U) << "the NAT's address";
}

TEST_F(CliRoutedLab, BadEntriesAreRefusedOrSkippedAndNothingGoesToThem) {
  for (const char* bad : {"10.88.0.0/21", "10.88.0.0/0", "10.88.0", "10.88.0.0/24x"}) {
    const std::size_t before = FarReceived();
    const Outcome run = Brelvan({"discover", "--target", bad});
    EXPECT_EQ(run.status, 2) << bad;
    EXPECT_NE(run.err.find(std::string("--target '") + bad + "'"), std::string::npos) << run.err;
    EXPECT_EQ(FarReceived(), before) << bad;
  }
  const std::string config = ::testing::TempDir() + "tb-cli-config/Tarnwick";
  lab::ChildProgram("/bin/mkdir", {"-p", config}).Wait(10s);
  WriteFile(config + "/Brelvan.conf", "[Targets]\nList=\x01garbage 10.88.0.0/21 10.88.0.12\n");
  const std::size_t before = FarReceived();
  const Outcome run = Brelvan({"discover", "--json"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.err.find("skipped a saved target: '10.88.0.0/21': networks wider than /22"),
            std::string::npos)
      << run.err;
  EXPECT_NE(Rows(run).find("Lejano Dos,true;"), std::string::npos) << run.out;
  EXPECT_EQ(FarReceived(), before + 1) << far->Log();
  std::remove((config + "/Brelvan.conf").c_str());
}

}  // namespace
}  // namespace tb
