// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace tb::lab {

// Name of a lab namespace, e.g. Namespace("dev1") == "<prefix>-dev1".
std::string Namespace(const std::string& role);
// Why lab tests cannot run here, or empty when they can (root, inside the lab's PC).
std::string SkipReason();

struct Received {
  std::string data;
  std::string from;
  int fromPort = 0;
  std::string to;
};

// A datagram socket that lives in another lab namespace (a device host),
// bound to address:port there and tied to that host's eth0.
class Peer {
 public:
  Peer(const std::string& role, const std::string& address, int port);
  Peer(const Peer&) = delete;
  Peer& operator=(const Peer&) = delete;
  ~Peer();

  bool Ok() const { return fd_ >= 0; }
  void Send(const std::string& data, const std::string& address, int port) const;
  std::optional<Received> Receive(std::chrono::milliseconds timeout) const;

 private:
  int fd_ = -1;
};

// One device simulator playing `fleet` in a device namespace (role "dev1" or
// "dev2", also its --host), logging to `log`; stopped with SIGTERM.
class Simulator {
 public:
  Simulator(const std::string& role, const std::string& log, const std::string& fleet);
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;
  ~Simulator();

  bool Ready() const;
  std::string Log() const;

 private:
  std::string log_;
  int pid_ = -1;
};

// The whole of a file (a simulator's log, a captured output); empty when it
// cannot be read.
std::string ReadFile(const std::string& path);
// How often `part` occurs in `text`, such as a datagram in a simulator's log.
std::size_t Count(const std::string& text, const std::string& part);

// UDP datagrams that the kernel of this process's namespace has dropped on
// receipt so far (full receive buffers among them), for every socket there.
long KernelUdpDrops();

// Processes the GUI thread's events until `done` or the time-out.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(3000));
void PumpFor(std::chrono::milliseconds duration);

// Runs the GUI thread's event loop, as the program's own loop does, until
// `done` (checked every millisecond) or the time-out. Unlike PumpUntil, which
// naps between turns and so paces the endpoint's hand-overs, the thread
// sleeps only while nothing is pending: for floods and measurements.
bool RunLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
void RunLoopFor(std::chrono::milliseconds duration);

}  // namespace tb::lab
