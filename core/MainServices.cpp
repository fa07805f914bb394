// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MainServices.h"

#include "net/IdStack.h"
#include "net/RouteSource.h"

namespace tb {

MainServices MainServices::System() {
  MainServices services;
  services.getLocalInterfaces = [](std::vector<TLocalInterface>& list) {
    return GetLocalInterfaces(list);
  };
  services.listHostAddresses = [] { return ListHostAddresses(); };
  services.routeSource = [](Ipv4 destination) { return RouteSource(destination); };
  return services;
}

}  // namespace tb
