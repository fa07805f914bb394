// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/WindowsChecks.h"

// The live query out of each adapter on Windows, and the verdicts drawn from
// what answered. Windows tells no arrival route, so answers count per
// adapter, not per route.
namespace tb::diagnosis::windows_checks {

// One query out of one address of an adapter; `answers` is nullopt when it
// could not be sent.
struct AdapterQuery {
  QString adapter;
  AdapterReading::Ipv4 from;
  std::optional<std::vector<HeardAnswer>> answers;
};

// A query out of every address of every adapter that is up, through `query`.
std::vector<AdapterQuery> QueryAdapters(const std::vector<AdapterReading>& adapters,
                                        const LiveQuery& query, int windowMs);

void CheckQueries(const std::vector<AdapterQuery>& queries, std::vector<Verdict>& out);

}  // namespace tb::diagnosis::windows_checks
