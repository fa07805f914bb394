// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a received datagram: the readers and the row builder must keep
// their invariants and never fail.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "protocol/DeviceRow.h"
#include "protocol/Message.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string visible = text.substr(0, text.find('\0'));

  const std::string name = tb::GetCommandName(text);
  const auto open = visible.find('(');
  Check(name == (open == std::string::npos ? std::string() : visible.substr(0, open)));

  for (int n = 1; n <= 10; ++n) {
    for (const char separator : {'(', ','}) {
      const std::string field = tb::GetField(text, n, separator);
      Check(field.find('\0') == std::string::npos);
      Check(visible.find(field) != std::string::npos);
    }
    const bool expected = visible.find("()") == std::string::npos &&
                          std::count(visible.begin(), visible.end(), ',') + 1 >= n;
    Check(tb::HasFields(text, n) == expected);
  }

  const tb::DeviceRow row = tb::MakeDeviceRow(text);
  Check(row.subItems.size() == 8);
  Check(row.subItems[tb::SubDHCP] == "Si" || row.subItems[tb::SubDHCP] == "No");
  Check(row.subItems[tb::SubHostNameMarker] == "EHN" ||
        row.subItems[tb::SubHostNameMarker] == "NHN");
  Check(row.caption.find('\0') == std::string::npos);
  return 0;
}
