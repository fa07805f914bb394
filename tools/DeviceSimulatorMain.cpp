// SPDX-License-Identifier: GPL-3.0-or-later
// tb-devsim: plays the devices of a fleet file on UDP port 998.
//
//   tb-devsim --fleet FILE [--host NAME] [--log FILE] [--port N] [--bind ADDRESS]
//
// Every received datagram is logged, one line each, before it is answered:
//   RECV from=10.77.0.1:998 to=10.77.0.255 if=eth0 len=7 data=HELLO()
// and every answer as it leaves:
//   SEND to=10.77.0.255:998 if=eth0 len=71 count=1 data=NTM(...)
// "data" is escaped (see Escape.h) so any byte is visible. The log starts with
// "READY ..." once the socket is bound and ends with "STOP" on SIGTERM/SIGINT.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "protocol/Message.h"
#include "tools/DeviceLogic.h"
#include "tools/Escape.h"
#include "tools/Fleet.h"
#include "tools/SimNetwork.h"

namespace {

using Clock = std::chrono::steady_clock;

// How long an ack_nak device waits between its ACK and its NAK.
constexpr int NakAfterAckMs = 100;
using tb::AnsiString;
using namespace tb::sim;

int g_stopPipe[2] = {-1, -1};

extern "C" void OnStopSignal(int /*signal*/) {
  const char c = 's';
  [[maybe_unused]] const ssize_t n = ::write(g_stopPipe[1], &c, 1);
}

struct Options {
  std::string fleet;
  std::string host;
  std::string log;
  int port = tb::CommandPort;
  tb::Ipv4 bind = tb::AnyAddress;
};

struct PendingReply {
  Clock::time_point due;
  AnsiString data;
  tb::Ipv4 address;
  int port;
  int interfaceIndex;
  tb::Ipv4 source;
  int remaining;
  bool logged = false;
};

int Usage() {
  std::cerr << "usage: tb-devsim --fleet FILE [--host NAME] [--log FILE] [--port N] "
               "[--bind ADDRESS]\n";
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) {
      return false;
    }
    const std::string v = argv[++i];
    if (a == "--fleet") {
      o.fleet = v;
    } else if (a == "--host") {
      o.host = v;
    } else if (a == "--log") {
      o.log = v;
    } else if (a == "--port") {
      o.port = std::atoi(v.c_str());
    } else if (a == "--bind") {
      const auto address = tb::ParseDottedIPv4(v);
      if (!address) {
        return false;
      }
      o.bind = *address;
    } else {
      return false;
    }
  }
  return !o.fleet.empty() && o.port > 0 && o.port < 65536;
}

class Simulator {
 public:
  Simulator(std::vector<SimDevice> devices, std::ostream& log)
      : devices_(std::move(devices)), log_(log), random_(std::random_device{}()) {}

  void OnDatagram(const Incoming& in) {
    log_ << "RECV from=" << tb::FormatDottedIPv4(in.from) << ":" << in.fromPort
         << " to=" << tb::FormatDottedIPv4(in.to) << " if=" << InterfaceName(in.interfaceIndex)
         << " len=" << in.data.size() << " data=" << EscapeBytes(in.data) << std::endl;
    const AnsiString name = tb::GetCommandName(in.data);
    // Asked once a datagram, and only when a device needs it: the listing of
    // a host with hundreds of addresses is slow.
    std::optional<bool> toBroadcast;
    for (SimDevice& device : devices_) {
      if (device.silent || (device.ownAddress && !AddressedTo(device, in, toBroadcast))) {
        continue;
      }
      if (name == "HELLO") {
        Schedule(device, in, BuildDiscoveryReply(device));
      } else if (const auto answer = HandleConfig(device, in.data)) {
        Schedule(device, in, *answer);
        if (device.config == ConfigAnswer::AckThenNak) {
          Schedule(device, in, "NAK(" + device.mac + ")", NakAfterAckMs);
        }
      }
    }
  }

  // Sends what is due, a bounded number per call so a long burst never
  // keeps the loop from noticing a stop. Returns the poll time-out in ms.
  int SendDue(SimSocket& socket) {
    const auto now = Clock::now();
    int budget = 256;
    for (auto it = pending_.begin(); it != pending_.end() && budget > 0;) {
      if (it->due > now) {
        ++it;
        continue;
      }
      std::string error;
      const int count = it->remaining;
      while (it->remaining > 0 && budget > 0 && error.empty()) {
        error = socket.Send(it->data, it->address, it->port, it->interfaceIndex, it->source);
        --it->remaining;
        --budget;
      }
      if (!it->logged || !error.empty()) {
        log_ << (error.empty() ? "SEND" : "SENDFAIL") << " to=" << tb::FormatDottedIPv4(it->address)
             << ":" << it->port << " if=" << InterfaceName(it->interfaceIndex)
             << " len=" << it->data.size() << " count=" << count
             << " data=" << EscapeBytes(it->data);
        if (!error.empty()) {
          log_ << " error=" << error;
        }
        log_ << std::endl;
        it->logged = true;
      }
      if (it->remaining <= 0 || !error.empty()) {
        it = pending_.erase(it);
      } else {
        ++it;
      }
    }
    if (pending_.empty()) {
      return 1000;
    }
    const auto next = std::min_element(pending_.begin(), pending_.end(),
                                       [](const auto& a, const auto& b) { return a.due < b.due; });
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(next->due - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, 1000));
  }

 private:
  static bool AddressedTo(const SimDevice& device, const Incoming& in,
                          std::optional<bool>& toBroadcast) {
    if (in.to == 0 || tb::ParseDottedIPv4(device.ip) == in.to) {
      return true;
    }
    if (!toBroadcast) {
      toBroadcast = in.to == tb::LimitedBroadcast || in.to == InterfaceBroadcast(in.interfaceIndex);
    }
    return *toBroadcast;
  }

  void Schedule(const SimDevice& device, const Incoming& in, const AnsiString& data,
                int extraDelayMs = 0) {
    int delay = device.delayMs + extraDelayMs;
    if (device.jitterMs > 0) {
      delay += std::uniform_int_distribution<int>(0, device.jitterMs)(random_);
    }
    PendingReply reply{Clock::now() + std::chrono::milliseconds(delay),
                       data,
                       in.from,
                       in.fromPort,
                       0,
                       tb::ParseDottedIPv4(device.source).value_or(tb::AnyAddress),
                       device.repeat};
    if (device.reply == ReplyRoute::Directed) {
      reply.address = InterfaceBroadcast(in.interfaceIndex);
      reply.interfaceIndex = in.interfaceIndex;
    } else if (device.reply == ReplyRoute::Limited) {
      reply.address = tb::LimitedBroadcast;
      reply.interfaceIndex = in.interfaceIndex;
    }
    if (reply.remaining > 0) {
      pending_.push_back(reply);
    }
  }

  std::vector<SimDevice> devices_;
  std::ostream& log_;
  std::mt19937 random_;
  std::vector<PendingReply> pending_;
};

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    return Usage();
  }
  std::ifstream fleetFile(options.fleet);
  if (!fleetFile) {
    std::cerr << "tb-devsim: cannot read " << options.fleet << "\n";
    return 1;
  }
  FleetParseResult fleet = ParseFleet(fleetFile);
  if (!fleet.error.empty()) {
    std::cerr << "tb-devsim: " << options.fleet << ": " << fleet.error << "\n";
    return 1;
  }
  std::vector<SimDevice> devices;
  std::copy_if(fleet.devices.begin(), fleet.devices.end(), std::back_inserter(devices),
               [&](const SimDevice& d) { return d.host.empty() || d.host == options.host; });
  for (const SimDevice& d : devices) {
    if (!d.source.empty() && !tb::ParseDottedIPv4(d.source)) {
      std::cerr << "tb-devsim: " << options.fleet << ": device " << d.mac << ": source " << d.source
                << " is no address\n";
      return 1;
    }
  }

  std::ofstream logFile;
  if (!options.log.empty()) {
    logFile.open(options.log, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!logFile) {
      std::cerr << "tb-devsim: cannot write " << options.log << "\n";
      return 1;
    }
  }
  std::ostream& log = options.log.empty() ? std::cout : logFile;

  if (::pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) < 0) {
    return 1;
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);

  SimSocket socket;
  if (const std::string error = socket.Open(options.bind, options.port); !error.empty()) {
    std::cerr << "tb-devsim: " << error << "\n";
    return 1;
  }
  log << "READY port=" << options.port << " devices=" << devices.size() << std::endl;

  Simulator simulator(std::move(devices), log);
  int timeout = 1000;
  for (;;) {
    pollfd fds[2] = {{socket.Fd(), POLLIN, 0}, {g_stopPipe[0], POLLIN, 0}};
    if (::poll(fds, 2, timeout) < 0 && errno != EINTR) {
      break;
    }
    if (fds[1].revents != 0) {
      break;
    }
    Incoming in;
    for (int i = 0; i < 64 && socket.Receive(in); ++i) {
      simulator.OnDatagram(in);
    }
    timeout = simulator.SendDue(socket);
  }
  log << "STOP" << std::endl;
  return 0;
}
