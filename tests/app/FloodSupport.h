// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QObject>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace tb::flood {

// True in a build under AddressSanitizer or ThreadSanitizer, where code runs
// several times slower: floods shrink and timing limits are not asserted.
bool Sanitized();

// A whole number from the environment, or `fallback` when unset or not a number.
int EnvInt(const char* name, int fallback);

// `plain` in a plain build, `plain / divisor` (at least 1) under a sanitizer;
// the environment variable `name` overrides both.
int Scaled(const char* name, int plain, int divisor);

// Junk datagram number `index`: empty, exactly 8192, 8193 and 65507 bytes,
// random bytes of every size, texts cut by zero bytes, NTM replies with
// thousands of fields, stray ACK/NAK and the program's own commands. Every
// kind comes round once in each hundred indices.
std::string JunkDatagram(std::mt19937& random, int index);

// A discovery reply from a device that is not on the lab's fleet.
std::string StrangerReply(int index);

struct Target {
  std::string address;
  int port = 998;
};

// One sending thread per device host, each a lab peer on an ephemeral port:
// `total` junk datagrams spread over about `seconds` in bursts, so the
// receiver sees both a steady stream and moments of overload. Stops by
// itself when everything is sent, or earlier when destroyed.
class JunkFlood {
 public:
  struct Sender {
    std::string role;     // "dev1" or "dev2"
    std::string address;  // the peer's own address in that namespace
    std::vector<Target> targets;
  };

  JunkFlood(std::vector<Sender> senders, int total, double seconds, unsigned seed);
  JunkFlood(const JunkFlood&) = delete;
  JunkFlood& operator=(const JunkFlood&) = delete;
  ~JunkFlood();

  bool Done() const { return finished_ == static_cast<int>(threads_.size()); }
  int Sent() const { return sent_; }
  bool PeersOk() const { return peersOk_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> sent_{0};
  std::atomic<int> finished_{0};
  std::atomic<bool> peersOk_{true};
  std::vector<std::thread> threads_;
};

// Measures how long the GUI thread takes to answer: another thread posts a
// call to it every `period` and the largest delay until it runs is kept.
class ResponsivenessProbe {
 public:
  explicit ResponsivenessProbe(std::chrono::milliseconds period = std::chrono::milliseconds(10));
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;
  ~ResponsivenessProbe();

  // Read on the GUI thread, which is the only writer.
  std::chrono::microseconds MaxDelay() const { return target_.maxDelay; }
  int Answered() const { return target_.answered; }

 private:
  // Lives on the GUI thread and times the calls posted to it.
  struct Target : QObject {
    std::chrono::microseconds maxDelay{0};
    int answered = 0;
    bool event(QEvent* event) override;
  };

  Target target_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// What the process holds at a moment.
struct Usage {
  int fds = 0;
  int threads = 0;
  std::size_t heapBytes = 0;  // bytes in use in the C heap; 0 where unknown
};
Usage CurrentUsage();

// Starts every thread of Qt's global pool now and keeps them for the rest of
// the process. Qt draws images on that pool, starting its threads (each with
// a descriptor) when the load calls for them and ending them after 30 s
// idle, which would read as threads and descriptors gained or lost.
void HoldQtThreadPool();

}  // namespace tb::flood
