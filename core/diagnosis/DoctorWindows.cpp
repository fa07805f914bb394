// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/Doctor.h"
#include "core/diagnosis/WindowsReaders.h"

namespace tb::diagnosis {

std::vector<Verdict> RunChecks(const Options& options) {
  using namespace windows_checks;
  std::vector<Verdict> verdicts;
  CheckPortHolders(ReadPortHolders(), options.ownPid, verdicts);
  CheckAdapters(ReadAdapters(), verdicts);
  CheckFirewall(ReadFirewall(), ProgramPath(), verdicts);
  // A live query per adapter is not made here yet; what answers is what
  // 'brelvan discover' lists.
  verdicts.push_back({QStringLiteral("query"),
                      QString(),
                      Verdict::Level::Skipped,
                      QStringLiteral("no live query per adapter; 'brelvan discover' shows what "
                                     "answers"),
                      QString(),
                      {}});
  return verdicts;
}

}  // namespace tb::diagnosis
