// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <QObject>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/AnsiString.h"

class QWidget;

namespace tb {
class TfrmMain;
class TIdUDPServer;
namespace lab {
class Peer;
}
}  // namespace tb

namespace tb::bench {

// Datagrams lost since `kernelBefore` (a lab::KernelUdpDrops() reading), as
// the counters "kernel_dropped" and, with an endpoint, "queue_dropped" (all
// that its queue dropped); averaged over the iterations with `perIteration`.
void CountDrops(benchmark::State& state, long kernelBefore, const TIdUDPServer* server,
                bool perIteration = false);

// A shown main window that sends nothing and shows no message box: its
// commands are dropped, so only what the benchmark feeds it reaches the list.
// Its endpoint binds port 998 on the given addresses once activated.
std::unique_ptr<TfrmMain> MakeQuietWindow(std::vector<AnsiString> hostAddresses = {"127.0.0.1"});

// Counts the paint events of one widget while alive.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget);
  int Count() const { return count_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int count_ = 0;
};

// `count` discovery replies with distinct MAC texts and a realistic spread of
// captions: model names shared by many devices and devices that name
// themselves. The same seed gives the same replies.
std::vector<AnsiString> MakeReplies(int count, unsigned seed = 7);

// A fleet file for the device simulator: `count` devices playing on `host`.
std::string WriteFleet(int count, const std::string& host, int jitterMs);

// Floods the PC's first address from the first device host with discovery
// replies, each from a device not seen in the last 2^20, until destroyed.
class ReplyFlood {
 public:
  ReplyFlood();
  ReplyFlood(const ReplyFlood&) = delete;
  ReplyFlood& operator=(const ReplyFlood&) = delete;
  ~ReplyFlood();

  // False outside the lab, the benchmark skipped: nothing is sent then.
  bool Started(benchmark::State& state) const;

 private:
  std::unique_ptr<lab::Peer> peer_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tb::bench
