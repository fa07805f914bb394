// SPDX-License-Identifier: GPL-3.0-or-later
// Any text as an address: only tb::Exception may leave the checks, and a text
// that passes gives octets that print back to its first four pieces.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/Exception.h"
#include "core/IPAddressChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string address(reinterpret_cast<const char*>(data), size);
  bool valid = true;
  try {
    tb::ValidateIPAddress(address);
  } catch (const tb::Exception& e) {
    valid = false;
    if (e.Message().find(address) == std::string::npos) {
      std::abort();
    }
  }
  std::string printed;
  for (std::uint8_t n = 0; n <= 5; ++n) {
    try {
      const int octet = tb::GetIPOctet(address, n);
      if (!valid) {
        std::abort();
      }
      if (n >= 1 && n <= 4) {
        printed += (n > 1 ? "." : "") + std::to_string(octet);
      } else if (octet != 0) {
        std::abort();
      }
    } catch (const tb::Exception&) {
      if (valid) {
        std::abort();
      }
    }
  }
  if (valid) {
    const bool sameStart = address.compare(0, printed.size(), printed) == 0;
    const bool endsThere = address.size() == printed.size() || address[printed.size()] == '.';
    if (!sameStart || !endsThere) {
      std::abort();
    }
  }
  return 0;
}
