// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "core/TargetList.h"
#include "core/diagnosis/Doctor.h"

namespace tb::diagnosis {

// What was read about one listed target: the local address its route
// leaves from (0: no route) and how many devices answered from it.
struct TargetReading {
  TargetEntry entry;
  Ipv4 source = 0;
  int answered = 0;
};

// One "target" verdict per listed target: a target without a route is a
// problem; one that was asked and stayed silent a note, since a router may
// drop what devices answer by broadcast alone.
std::vector<Verdict> TargetVerdicts(const std::vector<TargetReading>& readings);

}  // namespace tb::diagnosis
