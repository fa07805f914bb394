// SPDX-License-Identifier: GPL-3.0-or-later
// CONFIG texts built from arbitrary values read back field for field when the
// device's values hold no separator and the typed ones pass the dialog's check.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/ConfigEntryChecks.h"
#include "protocol/Message.h"

namespace {

bool Plain(const std::string& value) {
  return value.find_first_of(std::string(",()\0", 4)) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) {
    return 0;
  }
  // First byte: the two switches; the rest: six values split at 0x01.
  const std::uint8_t switches = data[0];
  std::vector<std::string> values(6);
  std::size_t which = 0;
  for (std::size_t i = 1; i < size && which < values.size(); ++i) {
    if (data[i] == 0x01) {
      ++which;
    } else {
      values[which].push_back(static_cast<char>(data[i]));
    }
  }
  tb::ConfigRequest request;
  request.password = values[0];
  request.mac = values[1];
  request.ip = values[2];
  request.netmask = values[3];
  request.gateway = values[4];
  request.hostName = values[5];
  request.dhcp = (switches & 1) != 0;
  request.hostNameEnabled = (switches & 2) != 0;
  const std::string text = tb::BuildConfigCommand(request);

  for (std::size_t k = 1; k <= 4; ++k) {
    if (!Plain(values[k])) {
      return 0;
    }
  }
  tb::AnsiString message;
  const tb::ConfigEntry hostName{request.hostName};
  if (!tb::AreConfigEntriesSendable({request.password},
                                    request.hostNameEnabled ? &hostName : nullptr, message)) {
    return 0;
  }
  std::vector<std::string> expected{request.password, request.mac};
  if (request.dhcp) {
    expected.insert(expected.end(), {"0.0.0.0", "0.0.0.0", "0.0.0.0"});
  } else {
    expected.insert(expected.end(), {request.ip, request.netmask, request.gateway});
  }
  if (request.hostNameEnabled) {
    expected.push_back(request.hostName);
  }
  if (tb::GetCommandName(text) != "CONFIG" || tb::GetField(text, 1, '(') != expected[0]) {
    std::abort();
  }
  for (std::size_t k = 1; k < expected.size(); ++k) {
    if (tb::GetField(text, static_cast<int>(k), ',') != expected[k]) {
      std::abort();
    }
  }
  // A typed "()" makes the text count as fieldless, by HasFields' own rule.
  const bool counted = text.find("()") == std::string::npos;
  if (counted && (!tb::HasFields(text, static_cast<int>(expected.size())) ||
                  tb::HasFields(text, static_cast<int>(expected.size()) + 1))) {
    std::abort();
  }
  return 0;
}
