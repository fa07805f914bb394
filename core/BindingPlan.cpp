// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/BindingPlan.h"

#include <algorithm>

#include "net/ReceiverPlan.h"

namespace tb {

std::vector<AnsiString> BindingAddresses(const std::vector<AnsiString>& hostAddresses) {
  std::vector<AnsiString> distinct;
  for (const AnsiString& address : hostAddresses) {
    // An address held by two interfaces is listed twice; a second binding
    // on it could never bind, and would fail every activation.
    if (std::find(distinct.begin(), distinct.end(), address) == distinct.end()) {
      distinct.push_back(address);
    }
  }
  return distinct;
}

BindingPlan PlanBindings(const std::vector<AnsiString>& hostAddresses,
                         const std::vector<socketlayer::InterfaceAddress>& interfaces) {
  BindingPlan plan;
  std::vector<Ipv4> bound;
  for (const AnsiString& address : BindingAddresses(hostAddresses)) {
    // A text that is no address binds nothing the receivers could follow.
    const std::optional<Ipv4> parsed = ParseDottedIPv4(address);
    bound.push_back(parsed.value_or(AnyAddress));
    if (parsed) {
      plan.bindings.push_back(*parsed);
    }
  }
  if (socketlayer::BoundSocketsHearBroadcasts()) {
    return plan;
  }
  for (const PlannedReceiver& receiver :
       PlanReceivers(LocateBoundAddresses(bound, interfaces), bound)) {
    if (std::find(plan.receivers.begin(), plan.receivers.end(), receiver.address) ==
        plan.receivers.end()) {
      plan.receivers.push_back(receiver.address);
    }
  }
  return plan;
}

}  // namespace tb
