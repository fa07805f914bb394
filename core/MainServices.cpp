// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/MainServices.h"

#include "net/IdStack.h"

namespace tb {

MainServices MainServices::System() {
  MainServices services;
  services.getLocalInterfaces = [](std::vector<TLocalInterface>& list) {
    return GetLocalInterfaces(list);
  };
  services.listHostAddresses = [] { return ListHostAddresses(); };
  return services;
}

}  // namespace tb
