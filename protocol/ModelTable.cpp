// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/ModelTable.h"

#include <array>
#include <string_view>

namespace tb {

namespace {

struct ModelEntry {
  std::string_view code;
  std::string_view name;
};

// Product data, in the order the lookup walks it. Code "1300" appears once:
// a second entry for it could never be reached.
constexpr std::array<ModelEntry, 28> ModelTable{{
    {"1113", "TNB-110/S"},    {"1121", "TNB-210/DIN"},  {"1120", "TNB-200/DIN"},
    {"1114", "TNB-120/S"},    {"1115", "TNB-130/S"},    {"1132", "TNB-320/IO"},
    {"1130", "TNB-300/IO"},   {"1131", "TNB-310/IO"},   {"1122", "TNB-220/DIN"},
    {"1300", "BRV-SER1"},     {"1112", "TNB-100/S"},    {"1111", "TNB-100/L"},
    {"1119", "TNB-090/HN"},   {"1118", "TNB-080/HN"},   {"1117", "TNB-070"},
    {"1116", "TNB-060"},      {"1110", "TNB-050"},      {"1109", "TNB-040"},
    {"2113", "BRV-ETH2/113"}, {"2121", "BRV-ETH2/121"}, {"2120", "BRV-ETH2/120"},
    {"2114", "BRV-ETH2/114"}, {"4100", "BRV-GW41"},     {"1310", "BRV-SER2"},
    {"4000", "BRV-GW40"},     {"4001", "BRV-GW40/R"},   {"1201", "TNB-WEB1"},
    {"1204", "TNB-WEB4"},
}};

}  // namespace

AnsiString ModelNameForCode(const AnsiString& code) {
  for (const auto& entry : ModelTable) {
    if (entry.code == code) {
      return AnsiString(entry.name);
    }
  }
  return DefaultModelName;
}

}  // namespace tb
