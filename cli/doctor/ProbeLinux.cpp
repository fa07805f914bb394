#include <poll.h>

#include <chrono>

#include "cli/Console.h"
#include "cli/LinuxChecks.h"
#include "net/Ipv4Address.h"
#include "protocol/DeviceRow.h"
#include "protocol/Message.h"
#include "tools/SimNetwork.h"

namespace tb::cli::linux_checks {

namespace {

using namespace linux_host;
using Clock = std::chrono::steady_clock;

// One datagram, waiting until `until` at most.
bool Receive(sim::SimSocket& socket, Clock::time_point until, sim::Incoming& incoming) {
  for (;;) {
    if (socket.Receive(incoming)) {
      return true;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) {
      return false;
    }
    pollfd p{socket.Fd(), POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(left));
  }
}

void Count(const sim::Incoming& datagram, const std::vector<InterfaceAddress>& addresses,
           ProbeResult& result) {
  if (GetCommandName(datagram.data) != "NTM") {
    return;  // our own query coming back, or anything else
  }
  InterfaceProbe* probe = nullptr;
  for (InterfaceProbe& p : result.interfaces) {
    if (p.index == datagram.interfaceIndex) {
      probe = &p;
    }
  }
  if (probe == nullptr) {
    return;
  }
  bool directed = false;
  const InterfaceAddress* home = nullptr;
  const DeviceRow row = MakeDeviceRow(datagram.data);
  const std::optional<Address> device = ParseDottedIPv4(row.subItems[SubIP]);
  for (const InterfaceAddress& entry : addresses) {
    if (entry.index != datagram.interfaceIndex) {
      continue;
    }
    directed = directed || datagram.to == entry.Broadcast();
    if (home == nullptr || (device && *device != 0 && entry.Holds(*device))) {
      home = &entry;
    }
  }
  (datagram.to == LimitedBroadcast ? probe->limited
                                   : (directed ? probe->directed : probe->unicast))++;
  const QString mac = Text(row.MAC());
  if (probe->macs.contains(mac)) {
    return;
  }
  probe->macs.insert(mac);
  if (home != nullptr && (!device || *device == 0 || !home->Holds(*device))) {
    result.foreign.push_back(
        {mac, Text(row.caption), Text(row.subItems[SubIP]), device && *device != 0, home});
  }
}

}  // namespace

ProbeResult Probe(const std::vector<InterfaceAddress>& addresses, int windowMs) {
  ProbeResult result;
  for (const InterfaceAddress& entry : addresses) {
    if (entry.loopback) {
      continue;
    }
    const bool known = std::any_of(result.interfaces.begin(), result.interfaces.end(),
                                   [&](const InterfaceProbe& p) { return p.index == entry.index; });
    if (!known) {
      InterfaceProbe probe;
      probe.name = entry.name;
      probe.index = entry.index;
      result.interfaces.push_back(probe);
    }
  }
  // The simulator's socket hears what the probe must: any address on port
  // 998, with each datagram's arrival interface and destination.
  sim::SimSocket socket;
  result.failure = QString::fromStdString(socket.Open(AnyAddress, CommandPort));
  if (!result.failure.isEmpty()) {
    return result;
  }
  sim::Incoming datagram;
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
        socket.Send(QueryCommand, entry.Broadcast(), CommandPort, probe.index);
      }
    }
    socket.Send(QueryCommand, LimitedBroadcast, CommandPort, probe.index);
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(windowMs);
    while (Receive(socket, until, datagram)) {
      Count(datagram, addresses, result);
    }
    const std::optional<long long> after = ReversePathDrops();
    if (before && after) {
      probe.reversePathDrops = *after - *before;
    }
  }
  return result;
}

}  // namespace tb::cli::linux_checks
