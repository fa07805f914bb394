#include "BroadcastReceivers.h"

#include <algorithm>

namespace tb {

void TBroadcastReceivers::Open(const TIdSocketHandles& bindings) {
  Close();
  if (socketlayer::BoundSocketsHearBroadcasts()) {
    return;
  }
  std::vector<socketlayer::InterfaceAddress> interfaces;
  socketlayer::ListInterfaces(interfaces);
  places_.assign(static_cast<std::size_t>(bindings.Count()), BindingPlace{});
  for (int i = 0; i < bindings.Count(); ++i) {
    const TIdSocketHandle& binding = bindings.Items(i);
    const auto address = ParseDottedIPv4(binding.IP);
    if (!address || *address == AnyAddress) {
      continue;  // a socket on any address hears broadcasts itself
    }
    const auto it = std::find_if(interfaces.begin(), interfaces.end(),
                                 [&](const auto& e) { return e.address == *address; });
    if (it == interfaces.end() || it->loopback) {
      continue;
    }
    places_[static_cast<std::size_t>(i)] =
        BindingPlace{it->index, *address & it->netmask, it->netmask};
    const Ipv4 directed = DirectedBroadcast(*address, it->netmask);
    // With a host mask the directed address is the binding's own address.
    if (directed != *address) {
      OpenOne(directed, binding.Port);
    }
    OpenOne(LimitedBroadcast, binding.Port);
  }
}

void TBroadcastReceivers::OpenOne(Ipv4 address, int port) {
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
  receivers_.push_back(Receiver{s, address, port});
}

void TBroadcastReceivers::Close() {
  for (const Receiver& r : receivers_) {
    socketlayer::Close(r.socket);
  }
  receivers_.clear();
  places_.clear();
}

void TBroadcastReceivers::Collect(std::vector<socketlayer::Handle>& sockets) const {
  for (const Receiver& r : receivers_) {
    sockets.push_back(r.socket);
  }
}

bool TBroadcastReceivers::Owns(socketlayer::Handle socket) const {
  return std::any_of(receivers_.begin(), receivers_.end(),
                     [&](const Receiver& r) { return r.socket == socket; });
}

TIdSocketHandle* TBroadcastReceivers::BindingFor(socketlayer::Handle socket, int interfaceIndex,
                                                 Ipv4 source, int sourcePort,
                                                 TIdSocketHandles& bindings) const {
  const auto receiver = std::find_if(receivers_.begin(), receivers_.end(),
                                     [&](const Receiver& r) { return r.socket == socket; });
  if (receiver == receivers_.end()) {
    return nullptr;
  }
  const int count = std::min(bindings.Count(), static_cast<int>(places_.size()));
  for (int i = 0; i < count; ++i) {
    const TIdSocketHandle& binding = bindings.Items(i);
    if (binding.Port == sourcePort && ParseDottedIPv4(binding.IP) == source) {
      return nullptr;
    }
  }
  TIdSocketHandle* fallback = nullptr;
  for (int i = 0; i < count; ++i) {
    TIdSocketHandle& binding = bindings.Items(i);
    const BindingPlace& place = places_[static_cast<std::size_t>(i)];
    if (binding.Port != receiver->port || place.interfaceIndex == 0) {
      continue;
    }
    if (interfaceIndex != 0 && place.interfaceIndex == interfaceIndex) {
      return &binding;
    }
    const bool sameNetwork = receiver->address != LimitedBroadcast &&
                             (receiver->address & place.netmask) == place.network;
    if (fallback == nullptr || sameNetwork) {
      fallback = &binding;
    }
  }
  return fallback;
}

}  // namespace tb
