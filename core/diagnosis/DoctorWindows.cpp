// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/WindowsQuery.h"
#include "core/diagnosis/WindowsReaders.h"

namespace tb::diagnosis {

std::vector<Verdict> RunChecks(const Options& options) {
  using namespace windows_checks;
  std::vector<Verdict> verdicts;
  CheckPortHolders(ReadPortHolders(), options.ownPid, verdicts);
  const std::vector<AdapterReading> adapters = ReadAdapters();
  CheckAdapters(adapters, verdicts);
  CheckFirewall(ReadFirewall(), ProgramPath(), verdicts);
  const LiveQuery query = options.liveQuery ? options.liveQuery : LiveQuery(QueryOutOf);
  CheckQueries(QueryAdapters(adapters, query, options.windowMs), verdicts);
  return verdicts;
}

}  // namespace tb::diagnosis
