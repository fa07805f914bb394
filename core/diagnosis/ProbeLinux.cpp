// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <chrono>
#include <cstring>

#include "core/Latin1.h"
#include "core/diagnosis/LinuxChecks.h"
#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"
#include "protocol/Message.h"

namespace tb::diagnosis::linux_checks {

namespace {

using namespace linux_host;
using Clock = std::chrono::steady_clock;

constexpr std::size_t DatagramCapacity = 65536;

// One datagram heard, with where it arrived and where it was sent to.
struct Heard {
  AnsiString data;
  socketlayer::Datagram datagram;
};

// The socket the query is sent and heard on: any address on port 998, as
// the endpoint's broadcast receivers and bindings together hear it.
class ProbeSocket {
 public:
  ProbeSocket() = default;
  ProbeSocket(const ProbeSocket&) = delete;
  ProbeSocket& operator=(const ProbeSocket&) = delete;
  ~ProbeSocket() { socketlayer::Close(socket_); }

  // Why it cannot listen; empty when it can.
  QString Open() {
    int error = 0;
    socket_ = socketlayer::OpenDatagram(error);
    if (socket_ == socketlayer::InvalidHandle) {
      return QStringLiteral("socket: ") + QString::fromLocal8Bit(std::strerror(error));
    }
    socketlayer::SetBroadcast(socket_, true);
    socketlayer::EnableArrivalInfo(socket_);
    if (const int bindError = socketlayer::Bind(socket_, AnyAddress, CommandPort); bindError != 0) {
      return QStringLiteral("bind: ") + QString::fromLocal8Bit(std::strerror(bindError));
    }
    return {};
  }

  void Send(Ipv4 address, int interfaceIndex) {
    const std::size_t size = std::strlen(QueryCommand);
    std::size_t sent = 0;
    socketlayer::SendOutOf(socket_, QueryCommand, size, address, CommandPort, interfaceIndex, sent);
  }

  // One datagram, waiting until `until` at most.
  bool Receive(Clock::time_point until, Heard& heard) {
    for (;;) {
      if (socketlayer::Receive(socket_, buffer_.data(), buffer_.size(), heard.datagram) == 0) {
        if (heard.datagram.truncated) {
          continue;
        }
        heard.data.assign(buffer_.data(), heard.datagram.size);
        return true;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      if (left <= 0) {
        return false;
      }
      std::vector<socketlayer::Handle> readable;
      bool woken = false;
      socketlayer::Wait({socket_}, nullptr, static_cast<int>(left), readable, woken);
    }
  }

 private:
  socketlayer::Handle socket_ = socketlayer::InvalidHandle;
  std::vector<char> buffer_ = std::vector<char>(DatagramCapacity);
};

InterfaceProbe* ProbeOf(ProbeResult& result, int index) {
  for (InterfaceProbe& p : result.interfaces) {
    if (p.index == index) {
      return &p;
    }
  }
  return nullptr;
}

// A device heard on `probe`'s interface, once; one outside every network of
// that interface is foreign there.
void Note(InterfaceProbe& probe, const std::vector<InterfaceAddress>& addresses, const QString& mac,
          const QString& caption, const QString& text, ProbeResult& result) {
  if (probe.macs.contains(mac)) {
    return;
  }
  probe.macs.insert(mac);
  const std::optional<Address> device = ParseDottedIPv4(ToAnsi(text));
  const InterfaceAddress* home = nullptr;
  for (const InterfaceAddress& entry : addresses) {
    if (entry.index == probe.index &&
        (home == nullptr || (device && *device != 0 && entry.Holds(*device)))) {
      home = &entry;
    }
  }
  if (home != nullptr && (!device || *device == 0 || !home->Holds(*device))) {
    result.foreign.push_back({mac, caption, text, device && *device != 0, home});
  }
}

void Count(const Heard& heard, const std::vector<InterfaceAddress>& addresses,
           ProbeResult& result) {
  if (GetCommandName(heard.data) != "NTM") {
    return;  // our own query coming back, or anything else
  }
  const int arrival = heard.datagram.interfaceIndex;
  const Ipv4 to = heard.datagram.destinationAddress;
  InterfaceProbe* probe = ProbeOf(result, arrival);
  if (probe == nullptr) {
    return;
  }
  bool directed = false;
  for (const InterfaceAddress& entry : addresses) {
    directed = directed || (entry.index == arrival && to == entry.DirectedBroadcastAddress());
  }
  (to == LimitedBroadcast ? probe->limited : (directed ? probe->directed : probe->unicast))++;
  const HeardAnswer answer = HeardAnswerFrom(heard.data, 0);
  Note(*probe, addresses, answer.mac, answer.caption, answer.address, result);
}

// The caller's endpoint queries each interface in turn from its address
// there; an answer counts on the interface of the binding that heard it.
void ProbeThrough(const LiveQuery& lent, const std::vector<InterfaceAddress>& addresses,
                  int windowMs, ProbeResult& result) {
  for (InterfaceProbe& probe : result.interfaces) {
    const InterfaceAddress* from = nullptr;
    for (const InterfaceAddress& entry : addresses) {
      if (from == nullptr && entry.index == probe.index && entry.up && entry.broadcast) {
        from = &entry;
      }
    }
    if (from == nullptr) {
      continue;
    }
    probe.queried = true;
    probe.routesKnown = false;
    const std::optional<long long> before = ReversePathDrops();
    const auto answers = lent(from->address, from->DirectedBroadcastAddress(), windowMs);
    if (!answers) {
      // As a socket of the checks' own that cannot have the port.
      result.failure =
          QStringLiteral("the program holds no binding on %1").arg(Dotted(from->address));
      return;
    }
    const std::optional<long long> after = ReversePathDrops();
    if (before && after) {
      probe.reversePathDrops = *after - *before;
    }
    for (const HeardAnswer& answer : *answers) {
      const auto heardOn = std::find_if(addresses.begin(), addresses.end(),
                                        [&](const auto& e) { return e.address == answer.heardOn; });
      if (InterfaceProbe* p =
              heardOn != addresses.end() ? ProbeOf(result, heardOn->index) : nullptr) {
        Note(*p, addresses, answer.mac, answer.caption, answer.address, result);
      }
    }
  }
}

}  // namespace

ProbeResult Probe(const std::vector<InterfaceAddress>& addresses, int windowMs,
                  const LiveQuery& lent) {
  ProbeResult result;
  for (const InterfaceAddress& entry : addresses) {
    if (entry.loopback) {
      continue;
    }
    const bool known = std::any_of(result.interfaces.begin(), result.interfaces.end(),
                                   [&](const InterfaceProbe& p) { return p.index == entry.index; });
    if (!known) {
      InterfaceProbe probe;
      probe.name = NameOf(entry);
      probe.index = entry.index;
      result.interfaces.push_back(probe);
    }
  }
  if (lent) {
    ProbeThrough(lent, addresses, windowMs, result);
    return result;
  }
  ProbeSocket socket;
  result.failure = socket.Open();
  if (!result.failure.isEmpty()) {
    return result;
  }
  Heard heard;
  for (InterfaceProbe& probe : result.interfaces) {
    bool canBroadcast = false;
    for (const InterfaceAddress& entry : addresses) {
      canBroadcast = canBroadcast || (entry.index == probe.index && entry.up && entry.broadcast);
    }
    if (!canBroadcast) {
      continue;
    }
    probe.queried = true;
    const std::optional<long long> before = ReversePathDrops();
    for (const InterfaceAddress& entry : addresses) {
      if (entry.index == probe.index) {
        socket.Send(entry.DirectedBroadcastAddress(), probe.index);
      }
    }
    socket.Send(LimitedBroadcast, probe.index);
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(windowMs);
    while (socket.Receive(until, heard)) {
      Count(heard, addresses, result);
    }
    const std::optional<long long> after = ReversePathDrops();
    if (before && after) {
      probe.reversePathDrops = *after - *before;
    }
  }
  return result;
}

}  // namespace tb::diagnosis::linux_checks
