// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/Message.h"

#include <algorithm>
#include <string_view>

namespace tb {

namespace {

// The readers never look past the first zero byte of a datagram.
std::string_view UpToZero(const AnsiString& text) {
  const auto zero = text.find('\0');
  return std::string_view(text).substr(0, zero);
}

}  // namespace

AnsiString GetCommandName(const AnsiString& text) {
  const std::string_view view = UpToZero(text);
  const auto open = view.find('(');
  if (open == std::string_view::npos) {
    return {};
  }
  return AnsiString(view.substr(0, open));
}

AnsiString GetField(const AnsiString& text, int n, char separator) {
  const std::string_view view = UpToZero(text);
  std::size_t p = 0;
  for (int i = 0; i < n; ++i) {
    const auto found = view.find(separator, p + 1);
    if (found == std::string_view::npos) {
      return {};
    }
    p = found;
  }
  auto q = view.find(',', p + 1);
  if (q == std::string_view::npos) {
    q = view.find(')', p + 1);
    if (q == std::string_view::npos) {
      return {};
    }
  }
  return AnsiString(view.substr(p + 1, q - p - 1));
}

bool HasFields(const AnsiString& text, int n) {
  const std::string_view view = UpToZero(text);
  if (view.find("()") != std::string_view::npos) {
    return false;
  }
  const auto commas = std::count(view.begin(), view.end(), ',');
  return commas + 1 >= n;
}

AnsiString BuildConfigCommand(const ConfigRequest& request) {
  AnsiString text = "CONFIG(" + request.password + "," + request.mac;
  if (request.dhcp) {
    text += ",0.0.0.0,0.0.0.0,0.0.0.0";
  } else {
    text += "," + request.ip + "," + request.netmask + "," + request.gateway;
  }
  if (request.hostNameEnabled) {
    text += "," + request.hostName;
  }
  text += ")";
  return text;
}

}  // namespace tb
