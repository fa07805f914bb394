// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/BroadcastReceivers.h"

#include <algorithm>
#include <cstddef>
#include <optional>

namespace tb {

namespace {

std::optional<Ipv4> BoundAddress(const TIdSocketHandle& binding) {
  const auto address = ParseDottedIPv4(binding.IP);
  // A socket on any address hears broadcasts itself.
  if (!address || *address == AnyAddress) {
    return std::nullopt;
  }
  return address;
}

std::vector<Ipv4> BoundAddresses(const TIdSocketHandles& bindings) {
  std::vector<Ipv4> bound;
  bound.reserve(static_cast<std::size_t>(bindings.Count()));
  for (int i = 0; i < bindings.Count(); ++i) {
    bound.push_back(BoundAddress(bindings.Items(i)).value_or(AnyAddress));
  }
  return bound;
}

}  // namespace

void TBroadcastReceivers::Open(const TIdSocketHandles& bindings, int receiveBuffer) {
  Close();
  if (socketlayer::BoundSocketsHearBroadcasts()) {
    return;
  }
  Locate(bindings);
  for (const PlannedReceiver& receiver : PlanReceivers(places_, BoundAddresses(bindings))) {
    OpenOne(receiver.address, bindings.Items(receiver.binding).Port, receiveBuffer);
  }
}

void TBroadcastReceivers::Locate(const TIdSocketHandles& bindings) {
  std::vector<socketlayer::InterfaceAddress> interfaces;
  socketlayer::ListInterfaces(interfaces);
  places_ = LocateBoundAddresses(BoundAddresses(bindings), interfaces);
  knownInterfaces_.clear();
  for (const ReceiverPlace& place : places_) {
    knownInterfaces_.push_back(place.interfaceIndex);
  }
}

void TBroadcastReceivers::OpenOne(Ipv4 address, int port, int receiveBuffer) {
  const bool known = std::any_of(receivers_.begin(), receivers_.end(), [&](const Receiver& r) {
    return r.address == address && r.port == port;
  });
  if (known) {
    return;
  }
  int error = 0;
  const socketlayer::Handle s = socketlayer::OpenDatagram(error);
  if (s == socketlayer::InvalidHandle) {
    return;
  }
  if (socketlayer::Bind(s, address, port) != 0 || socketlayer::EnableArrivalInfo(s) != 0) {
    socketlayer::Close(s);
    return;
  }
  int granted = 0;
  socketlayer::RaiseReceiveBuffer(s, receiveBuffer, granted);
  socketlayer::EnableReceiveTimes(s);
  receivers_.push_back(Receiver{s, address, port});
}

void TBroadcastReceivers::Close() {
  for (const Receiver& r : receivers_) {
    socketlayer::Close(r.socket);
  }
  receivers_.clear();
  places_.clear();
  knownInterfaces_.clear();
}

void TBroadcastReceivers::Collect(std::vector<socketlayer::Handle>& sockets) const {
  for (const Receiver& r : receivers_) {
    sockets.push_back(r.socket);
  }
}

// Preference, among the bindings on the receiver's port: on the arrival
// interface, the one whose network holds the sender, then any; where the
// arrival interface holds none, the one whose network holds the sender, then
// the one whose network the datagram was broadcast to, then the first.
TIdSocketHandle* TBroadcastReceivers::BindingFor(socketlayer::Handle socket, int interfaceIndex,
                                                 Ipv4 source, int sourcePort,
                                                 TIdSocketHandles& bindings) {
  const auto receiver = std::find_if(receivers_.begin(), receivers_.end(),
                                     [&](const Receiver& r) { return r.socket == socket; });
  if (receiver == receivers_.end()) {
    return nullptr;
  }
  for (int i = 0; i < bindings.Count(); ++i) {
    const TIdSocketHandle& binding = bindings.Items(i);
    if (binding.Port == sourcePort && ParseDottedIPv4(binding.IP) == source) {
      return nullptr;
    }
  }
  // An interface deleted and created again comes back under a new index.
  if (interfaceIndex != 0 && std::find(knownInterfaces_.begin(), knownInterfaces_.end(),
                                       interfaceIndex) == knownInterfaces_.end()) {
    Locate(bindings);
    knownInterfaces_.push_back(interfaceIndex);
  }
  const ReceiverPlace* best = nullptr;
  int bestRank = 0;
  for (const ReceiverPlace& place : places_) {
    if (place.binding >= bindings.Count() || bindings.Items(place.binding).Port != receiver->port) {
      continue;
    }
    const bool arrival = interfaceIndex != 0 && place.interfaceIndex == interfaceIndex;
    const bool sender = place.Holds(source);
    const bool destination =
        receiver->address != LimitedBroadcast && place.Holds(receiver->address);
    const int rank = arrival ? (sender ? 5 : 4) : (sender ? 3 : (destination ? 2 : 1));
    if (rank > bestRank) {
      best = &place;
      bestRank = rank;
    }
  }
  return best != nullptr ? &bindings.Items(best->binding) : nullptr;
}

}  // namespace tb
