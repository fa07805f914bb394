// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/app/FloodSupport.h"

#include <dirent.h>
#include <malloc.h>

#include <QCoreApplication>
#include <QEvent>
#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "common/ThreadSanitizerSync.h"
#include "tests/support/LabSupport.h"

namespace tb::flood {

namespace {

using Clock = std::chrono::steady_clock;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool InSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool InSanitizer = true;
#else
constexpr bool InSanitizer = false;
#endif
#else
constexpr bool InSanitizer = false;
#endif

// Largest UDP payload over IPv4.
constexpr std::size_t MaxDatagram = 65507;
// Largest datagram the program accepts.
constexpr std::size_t MaxMessage = 8192;

std::string RandomBytes(std::mt19937& random, std::size_t size) {
  std::string bytes(size, '\0');
  std::uniform_int_distribution<int> byte(0, 255);
  for (char& c : bytes) {
    c = static_cast<char>(byte(random));
  }
  return bytes;
}

std::string RandomMac(std::mt19937& random) {
  char mac[32];
  std::snprintf(mac, sizeof mac, "J%08X", static_cast<unsigned>(random()));
  return mac;
}

// An NTM reply whose nine readable fields are followed by `extra` more.
std::string ManyFields(std::mt19937& random, int extra) {
  std::string text =
      "NTM(1113,9.9.9," + RandomMac(random) + ",10.77.0.9,255.255.255.0,10.77.0.1,1,";
  text += "junk,Junk";
  for (int i = 0; i < extra; ++i) {
    text += ",";
    text += static_cast<char>('a' + i % 26);
  }
  return text + ")";
}

int CountEntries(const char* directory) {
  DIR* dir = ::opendir(directory);
  if (dir == nullptr) {
    return -1;
  }
  int count = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] != '.') {
      ++count;
    }
  }
  ::closedir(dir);
  // The directory stream itself holds one descriptor while it is read.
  return directory == std::string("/proc/self/fd") ? count - 1 : count;
}

}  // namespace

bool Sanitized() { return InSanitizer; }

int EnvInt(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') {
    return fallback;
  }
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return *end == '\0' && value > 0 && value < 100000000 ? static_cast<int>(value) : fallback;
}

int Scaled(const char* name, int plain, int divisor) {
  return EnvInt(name, Sanitized() ? std::max(1, plain / divisor) : plain);
}

std::string JunkDatagram(std::mt19937& random, int index) {
  const int kind = index % 100;
  std::uniform_int_distribution<std::size_t> small(1, 200);
  std::uniform_int_distribution<std::size_t> medium(201, MaxMessage);
  std::uniform_int_distribution<std::size_t> large(MaxMessage + 1, MaxDatagram);
  switch (kind) {
    case 0:
      return {};
    case 1:
      return RandomBytes(random, MaxMessage);
    case 2:
      return RandomBytes(random, MaxMessage + 1);
    case 3:
      return RandomBytes(random, MaxDatagram);
    case 4:
      return RandomBytes(random, large(random));
    case 5:
    case 6:
    case 7: {
      // Thousands of fields, still within the 8192 bytes that are delivered.
      std::string text = ManyFields(random, 3500);
      text.resize(std::min(text.size(), MaxMessage));
      return text;
    }
    case 8:
      return ManyFields(random, 20000);  // too long: never delivered
    case 9:
      return std::string("NTM(1113,1.0,\0", 14) + RandomMac(random) + ",1,2,3,0)";
    case 10:
      return std::string("NTM(1113,1.0,") + RandomMac(random) + std::string(",1,2,3,\0,h,n)", 13);
    case 11: {
      std::string zeros(64, '\0');
      return zeros;
    }
    case 12:
      return std::string("ACK(\0", 5) + RandomMac(random) + ")";
    case 13:
    case 14:
    case 15:
      return "ACK(" + RandomMac(random) + ")";
    case 16:
    case 17:
    case 18:
      return "NAK(" + RandomMac(random) + ",1)";
    case 19:
      return "ACK()";
    case 20:
      return "HELLO()";
    case 21:
      return "CONFIG(pw," + RandomMac(random) + ",0.0.0.0,0.0.0.0,0.0.0.0)";
    case 22:
      return "NTM";
    case 23:
      return "(((((,,,,,)))))";
    default:
      break;
  }
  if (kind < 34) {
    return StrangerReply(static_cast<int>(random() % 100000));
  }
  if (kind < 44) {
    return RandomBytes(random, medium(random));
  }
  return RandomBytes(random, small(random));
}

std::string StrangerReply(int index) {
  char text[160];
  std::snprintf(text, sizeof text,
                "NTM(1120,1.0.%d,ST:%06d,10.77.1.%d,255.255.255.0,10.77.0.1,0,st%d,Stranger %d)",
                index % 10, index, index % 250, index, index);
  return text;
}

JunkFlood::JunkFlood(std::vector<Sender> senders, int total, double seconds, unsigned seed) {
  const int perSender = total / std::max<int>(1, static_cast<int>(senders.size()));
  const auto start = Clock::now();
  for (std::size_t s = 0; s < senders.size(); ++s) {
    threads_.emplace_back([this, sender = senders[s], perSender, seconds, start,
                           seed = seed + static_cast<unsigned>(s)] {
      const lab::Peer peer(sender.role, sender.address, 0);
      if (!peer.Ok() || sender.targets.empty()) {
        peersOk_ = false;
        ++finished_;
        return;
      }
      std::mt19937 random(seed);
      constexpr int Burst = 64;
      const auto span = std::chrono::duration<double>(seconds);
      for (int i = 0; i < perSender && !stop_; ++i) {
        if (i % Burst == 0) {
          // The burst that should have started by now starts now.
          const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                       span * (static_cast<double>(i) / perSender));
          std::this_thread::sleep_until(due);
        }
        const Target& target = sender.targets[static_cast<std::size_t>(i) % sender.targets.size()];
        peer.Send(JunkDatagram(random, i), target.address, target.port);
        ++sent_;
      }
      ++finished_;
    });
  }
}

JunkFlood::~JunkFlood() {
  stop_ = true;
  for (std::thread& t : threads_) {
    t.join();
  }
}

// A call to the GUI thread, stamped when it was posted.
class ProbeEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  ProbeEvent() : QEvent(Kind()) {}
  const Clock::time_point posted = Clock::now();
};

bool ResponsivenessProbe::Target::event(QEvent* event) {
  MarkReceived(this);
  if (event->type() != ProbeEvent::Kind()) {
    return QObject::event(event);
  }
  const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(
      Clock::now() - static_cast<ProbeEvent*>(event)->posted);
  maxDelay = std::max(maxDelay, delay);
  ++answered;
  return true;
}

ResponsivenessProbe::ResponsivenessProbe(std::chrono::milliseconds period)
    : thread_([this, period] {
        while (!stop_) {
          auto* event = new ProbeEvent;
          MarkPosted(&target_);
          QCoreApplication::postEvent(&target_, event);
          std::this_thread::sleep_for(period);
        }
      }) {}

ResponsivenessProbe::~ResponsivenessProbe() {
  stop_ = true;
  thread_.join();
}

Usage CurrentUsage() {
  Usage usage;
  usage.fds = CountEntries("/proc/self/fd");
  usage.threads = CountEntries("/proc/self/task");
  if (!Sanitized()) {
    usage.heapBytes = ::mallinfo2().uordblks;
  }
  return usage;
}

namespace {
const char PoolChannel = 0;
}  // namespace

void HoldQtThreadPool() {
  QThreadPool* pool = QThreadPool::globalInstance();
  pool->setExpiryTimeout(-1);
  // Each task waits until all have started, so every one needs its own thread.
  const int count = pool->maxThreadCount();
  QSemaphore started;
  QSemaphore release;
  QSemaphore finished;
  for (int i = 0; i < count; ++i) {
    std::function<void()> task = [&] {
      MarkReceived(&PoolChannel);
      started.release();
      release.acquire();
      finished.release();
    };
    // The task crosses to the pool's thread inside Qt, unseen by
    // ThreadSanitizer like an event; the channel is a static, so that marking
    // it reads none of the task's captures first.
    MarkPosted(&PoolChannel);
    pool->start(std::move(task));
  }
  started.acquire(count);
  release.release(count);
  // Not waitForDone(): that would end the threads.
  finished.acquire(count);
}

}  // namespace tb::flood
