// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/ReceiverPlan.h"

namespace tb {

std::vector<ReceiverPlace> LocateBoundAddresses(
    const std::vector<Ipv4>& bound, const std::vector<socketlayer::InterfaceAddress>& interfaces) {
  std::vector<ReceiverPlace> places;
  for (std::size_t i = 0; i < bound.size(); ++i) {
    if (bound[i] == AnyAddress) {
      continue;
    }
    for (const auto& entry : interfaces) {
      if (entry.address == bound[i] && !entry.loopback) {
        places.push_back(ReceiverPlace{static_cast<int>(i), entry.index, bound[i] & entry.netmask,
                                       entry.netmask});
      }
    }
  }
  return places;
}

std::vector<PlannedReceiver> PlanReceivers(const std::vector<ReceiverPlace>& places,
                                           const std::vector<Ipv4>& bound) {
  std::vector<PlannedReceiver> receivers;
  for (const ReceiverPlace& place : places) {
    const Ipv4 directed = DirectedBroadcast(place.network, place.netmask);
    if (directed != bound.at(static_cast<std::size_t>(place.binding))) {
      receivers.push_back({directed, place.binding});
    }
    receivers.push_back({LimitedBroadcast, place.binding});
  }
  return receivers;
}

}  // namespace tb
