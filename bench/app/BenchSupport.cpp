// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/app/BenchSupport.h"

#include <unistd.h>

#include <QEvent>
#include <QWidget>
#include <array>
#include <cstdio>
#include <fstream>
#include <random>

#include "app/MainWindow.h"
#include "core/MainServices.h"
#include "net/IdUDPServer.h"
#include "tests/support/LabSupport.h"
#include "ui/MessageBoxes.h"

namespace tb::bench {

namespace {

constexpr std::array<const char*, 8> Codes{"1113", "1121", "1120", "1130",
                                           "1300", "2113", "4000", "9999"};

struct Device {
  std::string code;
  std::string mac;
  std::string ip;
  std::string hostName;
  std::string name;  // empty: the reply has 8 fields and the model names it
};

std::vector<Device> MakeDevices(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<Device> devices;
  devices.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    char mac[32];
    std::snprintf(mac, sizeof mac, "00:1A:2B:%02X:%02X:%02X", (i >> 16) & 0xff, (i >> 8) & 0xff,
                  i & 0xff);
    char ip[32];
    std::snprintf(ip, sizeof ip, "10.77.%d.%d", 1 + (i / 250) % 250, 1 + i % 250);
    Device d;
    d.code = Codes[random() % Codes.size()];
    d.mac = mac;
    d.ip = ip;
    d.hostName = "host" + std::to_string(i);
    // Half the devices carry their own name, in no particular order.
    if (random() % 2 == 0) {
      d.name = "Device " + std::to_string(random() % 100000);
    }
    devices.push_back(d);
  }
  return devices;
}

}  // namespace

void CountDrops(benchmark::State& state, long kernelBefore, const TIdUDPServer* server,
                bool perIteration) {
  const auto flags =
      perIteration ? benchmark::Counter::kAvgIterations : benchmark::Counter::kDefaults;
  state.counters["kernel_dropped"] =
      benchmark::Counter(static_cast<double>(lab::KernelUdpDrops() - kernelBefore), flags);
  if (server != nullptr) {
    state.counters["queue_dropped"] =
        benchmark::Counter(static_cast<double>(server->DroppedDatagrams()), flags);
  }
}

std::unique_ptr<TfrmMain> MakeQuietWindow(std::vector<AnsiString> hostAddresses) {
  SetMessageBoxHandler([](const MessageRecord&) {});
  MainServices services;
  services.listHostAddresses = [hostAddresses = std::move(hostAddresses)] { return hostAddresses; };
  services.getLocalInterfaces = [](std::vector<TLocalInterface>& list) {
    list.clear();
    return true;
  };
  services.sendCommand = [](const AnsiString&) {};
  auto window = std::make_unique<TfrmMain>(services);
  window->show();
  return window;
}

std::vector<AnsiString> MakeReplies(int count, unsigned seed) {
  std::vector<AnsiString> replies;
  for (const Device& d : MakeDevices(count, seed)) {
    AnsiString text =
        "NTM(" + d.code + ",2.0.1," + d.mac + "," + d.ip + ",255.255.0.0,10.77.0.1,0," + d.hostName;
    if (!d.name.empty()) {
      text += "," + d.name;
    }
    replies.push_back(text + ")");
  }
  return replies;
}

std::string WriteFleet(int count, const std::string& host, int jitterMs) {
  char path[] = "/tmp/tb-fleet-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) {
    return {};
  }
  ::close(fd);
  std::ofstream out(path);
  for (const Device& d : MakeDevices(count, 7)) {
    out << "[device]\nhost = " << host << "\ncode = " << d.code
        << "\nversion = 2.0.1\nmac = " << d.mac << "\nip = " << d.ip
        << "\nnetmask = 255.255.0.0\ngateway = 10.77.0.1\n"
        << "hostname = " << d.hostName << "\n";
    if (d.name.empty()) {
      out << "fields = 8\n";
    } else {
      out << "name = " << d.name << "\n";
    }
    if (jitterMs > 0) {
      out << "jitter_ms = " << jitterMs << "\n";
    }
    out << "\n";
  }
  return path;
}

ReplyFlood::ReplyFlood() : peer_(std::make_unique<lab::Peer>("dev1", "10.77.0.2", 998)) {
  if (!peer_->Ok()) {
    return;
  }
  thread_ = std::thread([this] {
    const auto replies = MakeReplies(1 << 12);
    for (unsigned i = 0; !stop_; ++i) {
      // A fresh MAC for every datagram, so that each one is a new row.
      AnsiString reply = replies[i % replies.size()];
      char mac[8];
      std::snprintf(mac, sizeof mac, "%05X", i & 0xFFFFF);
      reply.replace(reply.find("00:1A:2B:"), 9, AnsiString(mac) + ":..");
      peer_->Send(reply, "10.77.0.1", 998);
    }
  });
}

ReplyFlood::~ReplyFlood() {
  stop_ = true;
  if (thread_.joinable()) {
    thread_.join();
  }
}

bool ReplyFlood::Started(benchmark::State& state) const {
  if (!peer_->Ok()) {
    state.SkipWithError("no lab: the sender cannot start");
    return false;
  }
  return true;
}

PaintCounter::PaintCounter(QWidget& widget) { widget.installEventFilter(this); }

bool PaintCounter::eventFilter(QObject* /*watched*/, QEvent* event) {
  count_ += event->type() == QEvent::Paint ? 1 : 0;
  return false;
}

}  // namespace tb::bench
