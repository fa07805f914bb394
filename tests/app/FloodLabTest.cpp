// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window inside the lab under junk floods and faults: it must
// neither crash nor hang, its listening windows must end on time and its
// event loop must keep answering. The waits run a real event loop, as the
// program does, so every datagram is handed over as soon as it comes. Sizes come from the
// environment for longer manual runs (TB_FLOOD_DATAGRAMS, TB_FLOOD_SECONDS, TB_FLOOD_CYCLES,
// TB_FLOOD_LIFECYCLES) and shrink by themselves under a sanitizer.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DeviceListView.h"
#include "app/MainWindow.h"
#include "core/DeviceListModel.h"
#include "core/ExchangeTexts.h"
#include "core/FanOut.h"
#include "core/Latin1.h"
#include "net/IdUDPServer.h"
#include "net/LocalInterfaces.h"
#include "tests/app/FloodSupport.h"
#include "tests/app/LabWindowTest.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/LabSupport.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"

namespace tb {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using flood::JunkFlood;
using flood::Target;

constexpr const char* ZetaMac = "00:AA:00:00:00:01";
// The devices that the simulator plays on dev1, in caption order.
std::vector<AnsiString> Dev1Captions() {
  return {"alfa", "Doble", "Mudo", "TNB-110/S", "TNB-110/S", "Zeta"};
}

// How far past its nominal length a listening window may end.
constexpr auto WindowSlack = 100ms;

std::chrono::milliseconds Ms(Clock::duration d) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(d);
}

// Unicast junk from both device hosts to both PC addresses, and broadcast
// junk from dev2 only: the simulator on dev1 would hear dev1's own
// broadcasts, and the junk is meant for the program alone.
std::vector<JunkFlood::Sender> JunkSenders() {
  return {
      {"dev1", "10.77.0.3", {Target{"10.77.0.1"}, Target{"10.78.0.1"}}},
      {"dev2",
       "10.78.0.3",
       {Target{"10.78.0.1"}, Target{"10.78.0.255"}, Target{"255.255.255.255"},
        Target{"10.77.0.1"}}},
  };
}

class FloodLab : public testing::LabWindowTest {
 protected:
  void SetUpLab() override {
    // Named after the lab, so that runs in other labs keep their own log.
    dev1 = std::make_unique<lab::Simulator>(
        "dev1", ::testing::TempDir() + lab::Namespace("dev1") + "-flood.log", TB_APP_FLEET_PATH);
    ASSERT_TRUE(dev1->Ready()) << "simulator did not start";
  }

  // The program's main window, its first query run out; every end of a
  // listening window is timed.
  void CreateWindow() {
    Show(std::make_unique<TfrmMain>());
    auto original = window->tmrTimeout().OnTimer;
    window->tmrTimeout().OnTimer = [this, original] {
      windowEnds.push_back(Clock::now());
      original();
    };
    ASSERT_TRUE(WaitIdle());
  }

  bool WaitIdle() {
    return lab::RunLoopUntil([&] { return window->FExchangeMode() == ExchangeMode::Idle; }, 3000ms);
  }

  // Runs a query to its end; how long its window lasted, from the click to
  // the timer, or nothing when it never ended.
  std::optional<std::chrono::milliseconds> TimedQuery() {
    const std::size_t ends = windowEnds.size();
    const auto start = Clock::now();
    QTest::mouseClick(window->btnQuery, Qt::LeftButton);
    if (!lab::RunLoopUntil([&] { return windowEnds.size() > ends; }, 3000ms)) {
      return std::nullopt;
    }
    return Ms(windowEnds.back() - start);
  }

  struct Configuration {
    std::chrono::milliseconds window;  // from OK to the timer
    QString outcome;
  };

  // Configures the device with its own settings; nothing when the window or
  // its outcome never came.
  std::optional<Configuration> TimedConfiguration(const AnsiString& mac, const QString& password) {
    const int row = RowOf(mac);
    if (row < 0) {
      return std::nullopt;
    }
    auto* view = window->lstDevices;
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Clock::time_point ok;
    QObject::connect(
        &properties, &TfrmProperties::Activated, &properties,
        [&dialog = properties, &ok, password] {
          QTest::keyClicks(dialog.txtPassword, password);
          ok = Clock::now();
          QTest::mouseClick(dialog.btnOk, Qt::LeftButton);
          if (dialog.isVisible()) {
            QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
          }
        },
        Qt::SingleShotConnection);
    const std::size_t ends = windowEnds.size();
    const std::size_t shown = boxes.size();
    QTest::mouseClick(window->btnProperties, Qt::LeftButton);
    if (!lab::RunLoopUntil([&] { return windowEnds.size() > ends && boxes.size() > shown; },
                           3000ms)) {
      return std::nullopt;
    }
    return Configuration{Ms(windowEnds.back() - ok), boxes.back().text};
  }

  // NOLINTBEGIN(misc-non-private-member-variables-in-classes)
  std::vector<Clock::time_point> windowEnds;
  // NOLINTEND(misc-non-private-member-variables-in-classes)
};

// Timing limits hold in a plain build; under a sanitizer the code runs
// several times slower, so there the windows only have to end at all.
void ExpectOnTime(std::chrono::milliseconds lasted, std::chrono::milliseconds nominal,
                  const char* what) {
  EXPECT_GE(lasted, nominal - 10ms) << what;
  if (!flood::Sanitized()) {
    EXPECT_LT(lasted, nominal + WindowSlack) << what;
  }
}

TEST_F(FloodLab, JunkFloodWhileQueryingAndConfiguring) {
  CreateWindow();
  const int total = flood::Scaled("TB_FLOOD_DATAGRAMS", 40000, 8);
  const int seconds = flood::EnvInt("TB_FLOOD_SECONDS", 8);
  // Counts what reaches the window's handler, to show the junk arrived.
  auto handled = std::make_shared<int>(0);
  auto handler = window->UDPServer().OnUDPRead;
  window->UDPServer().OnUDPRead = [handled, handler](TIdUDPServer& s, TIdMemoryStream& d,
                                                     TIdSocketHandle& b) {
    ++*handled;
    handler(s, d, b);
  };
  const flood::ResponsivenessProbe probe;
  int queries = 0;
  int configurations = 0;
  auto longestQuery = 0ms;
  auto longestConfiguration = 0ms;
  {
    const JunkFlood junk(JunkSenders(), total, seconds, 1);
    const auto deadline = Clock::now() + std::chrono::seconds(seconds * 3 + 10);
    while ((!junk.Done() || queries < 2) && Clock::now() < deadline) {
      const auto query = TimedQuery();
      ASSERT_TRUE(query.has_value()) << "query window never ended";
      ExpectOnTime(*query, 500ms, "query window");
      longestQuery = std::max(longestQuery, *query);
      ++queries;
      // Under the flood the device's own reply may be lost with the rest.
      if (RowOf(ZetaMac) < 0) {
        continue;
      }
      const auto config = TimedConfiguration(ZetaMac, "pw");
      ASSERT_TRUE(config.has_value()) << "configuration window or its outcome never came";
      ExpectOnTime(config->window, 1000ms, "configuration window");
      longestConfiguration = std::max(longestConfiguration, config->window);
      ++configurations;
    }
    ASSERT_TRUE(junk.PeersOk());
    EXPECT_TRUE(junk.Done()) << "sent " << junk.Sent() << " of " << total;
  }
  std::cout << total << " junk datagrams, " << *handled << " datagrams handled; " << queries
            << " queries, longest window " << longestQuery.count() << " ms; " << configurations
            << " configurations, longest window " << longestConfiguration.count()
            << " ms; longest GUI delay " << probe.MaxDelay().count() << " us\n";
  EXPECT_GT(probe.Answered(), 0);
  if (!flood::Sanitized()) {
    EXPECT_LT(probe.MaxDelay(), 100ms);
  }
  // Junk too long to deliver, and junk lost while the buffers were full,
  // never arrives; most of the rest must have.
  EXPECT_GT(*handled, total / 2);

  // The flood over and what it left in the sockets' buffers handled, the
  // program works as before: the listener is alive and the list holds
  // exactly the fleet.
  lab::RunLoopFor(500ms);
  const auto query = TimedQuery();
  ASSERT_TRUE(query.has_value());
  EXPECT_EQ(Captions(), Dev1Captions());
  const auto config = TimedConfiguration(ZetaMac, "pw");
  ASSERT_TRUE(config.has_value());
  EXPECT_EQ(config->outcome, FromAnsi(ConfigSuccessText));
}

TEST_F(FloodLab, ClosingDuringAFloodDeliversNothingMoreAndFreesEverything) {
  flood::HoldQtThreadPool();
  const flood::Usage before = flood::CurrentUsage();
  CreateWindow();
  struct Deliveries {
    bool destroying = false;
    int late = 0;
    int total = 0;
  };
  auto seen = std::make_shared<Deliveries>();
  auto original = window->UDPServer().OnUDPRead;
  window->UDPServer().OnUDPRead = [seen, original](TIdUDPServer& s, TIdMemoryStream& d,
                                                   TIdSocketHandle& b) {
    ++seen->total;
    seen->late += seen->destroying ? 1 : 0;
    original(s, d, b);
  };
  {
    const JunkFlood junk(JunkSenders(), flood::Scaled("TB_FLOOD_DATAGRAMS", 40000, 8), 3, 2);
    QTest::mouseClick(window->btnQuery, Qt::LeftButton);
    lab::RunLoopFor(300ms);
    ASSERT_GT(seen->total, 0) << "nothing arrived before closing";

    const auto closing = Clock::now();
    QTest::mouseClick(window->btnExit, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    seen->destroying = true;
    window.reset();
    const auto closed = Ms(Clock::now() - closing);
    EXPECT_LT(closed, 1000ms);
    // Hand-overs already queued for the window must die with it.
    lab::RunLoopFor(300ms);
  }
  EXPECT_EQ(seen->late, 0);
  // Only the endpoint held sockets and a thread; its end gives them all back.
  const flood::Usage after = flood::CurrentUsage();
  EXPECT_EQ(after.fds, before.fds);
  EXPECT_EQ(after.threads, before.threads);
}

TEST_F(FloodLab, ProgramEndsWithinASecondOfClosingDuringAFlood) {
  const JunkFlood junk(JunkSenders(), flood::Scaled("TB_FLOOD_DATAGRAMS", 40000, 8), 4, 3);
  lab::ChildProgram program(TB_APP_PROBE_PATH, {"--close-after", "700"});
  ASSERT_TRUE(program.Started());
  const auto result = program.Wait(10s);
  ASSERT_TRUE(result.exited) << "the program did not end";
  EXPECT_EQ(result.status, 0) << result.output;
  const std::int64_t closing = lab::ReportedValue(result.output, "closing");
  ASSERT_GT(closing, 0) << result.output;
  const auto ending = std::chrono::nanoseconds(result.exitNs - closing);
  std::cout << "program ended " << Ms(ending).count() << " ms after its window closed\n";
  EXPECT_LT(ending, flood::Sanitized() ? 3000ms : 1000ms);
}

// Whether address:998 in this namespace can be bound; keeps it bound in `fd`.
int Occupy(const char* address) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_port = htons(998);
  ::inet_pton(AF_INET, address, &sa.sin_addr);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

TEST_F(FloodLab, PortTakenOnALabAddressReportsCommunicationErrors) {
  const int blocker = Occupy("10.78.0.1");
  ASSERT_GE(blocker, 0);
  std::vector<TLocalInterface> interfaces;
  ASSERT_TRUE(GetLocalInterfaces(interfaces));
  std::size_t perCommand = 1;  // the limited broadcast
  for (const TLocalInterface& entry : interfaces) {
    perCommand += entry.IPAddress != "127.0.0.1" ? 1 : 0;
  }

  CreateWindow();
  ASSERT_EQ(boxes.size(), perCommand);
  for (const MessageRecord& box : boxes) {
    EXPECT_EQ(box.text, FromAnsi(CommunicationErrorText));
    EXPECT_EQ(box.caption, "Brelvan");
    EXPECT_FALSE(box.errorIcon);
  }
  EXPECT_EQ(window->Devices()->Count(), 0);
  EXPECT_FALSE(window->UDPServer().Active());

  // Every failed activation replaces the sockets of the last one.
  const int fds = flood::CurrentUsage().fds;
  for (int i = 0; i < 10; ++i) {
    QTest::mouseClick(window->btnQuery, Qt::LeftButton);
  }
  ASSERT_TRUE(WaitIdle());
  EXPECT_EQ(boxes.size(), perCommand * 11);
  EXPECT_EQ(flood::CurrentUsage().fds, fds);

  // With the port free again the next query binds and finds the fleet.
  ::close(blocker);
  boxes.clear();
  const auto query = TimedQuery();
  ASSERT_TRUE(query.has_value());
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(window->UDPServer().Active());
  EXPECT_EQ(Captions(), Dev1Captions());
}

TEST_F(FloodLab, HundredsOfQueryCyclesLeaveNoDescriptorsThreadsOrMemoryBehind) {
  const int cycles = flood::Scaled("TB_FLOOD_CYCLES", 300, 4);
  const int lifecycles = flood::Scaled("TB_FLOOD_LIFECYCLES", 30, 4);
  const auto devices = static_cast<int>(Dev1Captions().size());
  flood::HoldQtThreadPool();

  // Whole lives of the window: endpoint opened by the first query, closed
  // with the window. The first life warms up what Qt keeps for the process.
  flood::Usage base;
  for (int life = 0; life <= lifecycles; ++life) {
    Show(std::make_unique<TfrmMain>());
    ASSERT_TRUE(lab::RunLoopUntil([&] { return window->Devices()->Count() == devices; }, 2000ms))
        << "life " << life;
    window.reset();
    lab::RunLoopFor(5ms);
    if (life == 0) {
      base = flood::CurrentUsage();
    }
  }
  const flood::Usage afterLives = flood::CurrentUsage();
  EXPECT_EQ(afterLives.fds, base.fds);
  EXPECT_EQ(afterLives.threads, base.threads);

  // Query after query in one window; every fiftieth runs its window out.
  CreateWindow();
  const int warmUp = 20;
  flood::Usage start;
  for (int cycle = 0; cycle < warmUp + cycles; ++cycle) {
    if (cycle == warmUp) {
      start = flood::CurrentUsage();
    }
    QTest::mouseClick(window->btnQuery, Qt::LeftButton);
    ASSERT_TRUE(lab::RunLoopUntil([&] { return window->Devices()->Count() == devices; }, 2000ms))
        << "cycle " << cycle;
    if (cycle % 50 == 49) {
      ASSERT_TRUE(WaitIdle());
    }
  }
  ASSERT_TRUE(WaitIdle());
  const flood::Usage end = flood::CurrentUsage();
  std::cout << cycles << " query cycles: descriptors " << start.fds << " -> " << end.fds
            << ", threads " << start.threads << " -> " << end.threads << ", heap "
            << start.heapBytes << " -> " << end.heapBytes << " bytes\n";
  EXPECT_EQ(end.fds, start.fds);
  EXPECT_EQ(end.threads, start.threads);
  // Bytes in use, not the process size: a leak of even a few hundred bytes a
  // cycle shows, allocator caching does not.
  if (start.heapBytes > 0) {
    EXPECT_LT(end.heapBytes, start.heapBytes + std::size_t{64} * 1024);
  }
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace tb
