// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/TargetList.h"

#include <unordered_set>

#include "common/Exception.h"
#include "core/IPAddressChecks.h"

namespace tb {

namespace {

AnsiString Trimmed(const AnsiString& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == AnsiString::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// Networks that never hold a device reached through a router: "this"
// network, loopback, multicast and the reserved block.
bool IsNetworkOfHosts(Ipv4 network) {
  const Ipv4 first = network >> 24U;
  return first != 0 && first != 127 && first < 224;
}

}  // namespace

AnsiString TargetEntry::Text() const {
  AnsiString text = FormatDottedIPv4(address);
  if (prefix != 32) {
    // Appended piece by piece: GCC 12 warns falsely of overlapping copies
    // in "literal" + std::string when it inlines them at -O3.
    text += '/';
    text += std::to_string(prefix);
  }
  return text;
}

TargetParse ParseTarget(const AnsiString& text) {
  TargetParse parse;
  const AnsiString entry = Trimmed(text);
  const auto slash = entry.find('/');
  const AnsiString address = entry.substr(0, slash);
  try {
    ValidateWholeIPAddress(address);
  } catch (const Exception& e) {
    parse.fault = TargetFault::NotAnAddress;
    parse.detail = e.Message();
    return parse;
  }
  const Ipv4 value = *ParseDottedIPv4(address);
  if (slash == AnsiString::npos) {
    if (!IsHostAddress(address)) {
      parse.fault = TargetFault::NotAHost;
      return parse;
    }
    parse.entry = TargetEntry{value, 32};
    return parse;
  }
  const AnsiString prefixText = entry.substr(slash + 1);
  if (prefixText.empty() || prefixText.size() > 2 || !IsAllDigits(prefixText) ||
      (prefixText.size() == 2 && prefixText[0] == '0') || std::stoi(prefixText) > 32) {
    parse.fault = TargetFault::BadPrefix;
    return parse;
  }
  const int prefix = std::stoi(prefixText);
  if (prefix < WidestTargetPrefix) {
    parse.fault = TargetFault::TooWide;
    return parse;
  }
  const Ipv4 network = value & PrefixNetmask(prefix);
  if (!IsNetworkOfHosts(network)) {
    parse.fault = TargetFault::BadNetwork;
    return parse;
  }
  parse.entry = TargetEntry{network, prefix};
  return parse;
}

AnsiString TargetRefusalText(const AnsiString& text, const TargetParse& parse) {
  AnsiString quoted(1, '"');
  quoted += Trimmed(text);
  quoted += '"';
  switch (parse.fault) {
    case TargetFault::None:
      return {};
    case TargetFault::NotAnAddress:
      return "Direcci\xF3n o red no v\xE1lida: " + quoted +
             ". Escriba una direcci\xF3n IP (10.20.0.15) o una red (10.20.0.0/24).";
    case TargetFault::NotAHost:
      return "Direcci\xF3n IP no v\xE1lida: " + quoted + ".";
    case TargetFault::BadPrefix:
      return "Red no v\xE1lida: " + quoted + ". Tras la barra va un n\xFAmero de 22 a 32.";
    case TargetFault::TooWide:
      return "Red demasiado grande: " + quoted +
             ". Se admiten redes de hasta /22 (1022 direcciones).";
    case TargetFault::BadNetwork:
      return "Red no v\xE1lida: " + quoted + ".";
  }
  return {};
}

std::string TargetRefusalEnglish(const AnsiString& text, const TargetParse& parse) {
  std::string quoted(1, '\'');
  quoted += Trimmed(text);
  quoted += '\'';
  switch (parse.fault) {
    case TargetFault::None:
      return {};
    case TargetFault::NotAnAddress:
      return quoted + " is no IPv4 address or network (10.20.0.15, 10.20.0.0/24): " + parse.detail;
    case TargetFault::NotAHost:
      return quoted + " cannot be a device's address";
    case TargetFault::BadPrefix:
      return quoted + ": the prefix after '/' must be a whole number from 22 to 32";
    case TargetFault::TooWide:
      return quoted + ": networks wider than /22 (1,022 hosts) are refused";
    case TargetFault::BadNetwork:
      return quoted + " is no network of hosts (0.x, 127.x and 224.x and up are refused)";
  }
  return {};
}

// A /31 has two hosts and no broadcast; wider networks lose their first
// address to the network and their last to the directed broadcast, which
// goes last so that routers that forward it are asked once the hosts were.
std::vector<Ipv4> TargetDestinations(const std::vector<TargetEntry>& entries) {
  std::vector<Ipv4> destinations;
  std::unordered_set<Ipv4> seen;
  const auto add = [&](Ipv4 address) {
    if (seen.insert(address).second) {
      destinations.push_back(address);
    }
  };
  for (const TargetEntry& entry : entries) {
    if (entry.prefix >= 31) {
      add(entry.address);
      if (entry.prefix == 31) {
        add(entry.address + 1);
      }
      continue;
    }
    const Ipv4 broadcast = DirectedBroadcast(entry.address, PrefixNetmask(entry.prefix));
    for (Ipv4 host = entry.address + 1; host < broadcast; ++host) {
      add(host);
    }
    add(broadcast);
  }
  return destinations;
}

bool TargetsHold(const std::vector<TargetEntry>& entries, Ipv4 address) {
  for (const TargetEntry& entry : entries) {
    if ((address & PrefixNetmask(entry.prefix)) == entry.address) {
      return true;
    }
  }
  return false;
}

}  // namespace tb
