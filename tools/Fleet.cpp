// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/Fleet.h"

#include <charconv>
#include <cstddef>
#include <utility>

#include "tools/Escape.h"

namespace tb::sim {

namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) {
    return {};
  }
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
  int v = 0;
  const auto* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || ptr != end || v < low || v > high) {
    return false;
  }
  value = v;
  return true;
}

template <typename T>
using Choice = std::pair<const char*, T>;

constexpr Choice<ReplyRoute> ReplyChoices[] = {{"sender", ReplyRoute::Sender},
                                               {"directed", ReplyRoute::Directed},
                                               {"limited", ReplyRoute::Limited}};
constexpr Choice<ConfigAnswer> ConfigChoices[] = {{"check", ConfigAnswer::Check},
                                                  {"silent", ConfigAnswer::Silent},
                                                  {"ack_nak", ConfigAnswer::AckThenNak}};

// Sets `target` to the choice that `value` names; otherwise returns the
// error text that lists the choices.
template <typename T, std::size_t N>
std::string Choose(const std::string& key, const AnsiString& value, const Choice<T> (&choices)[N],
                   T& target) {
  std::string names;
  std::size_t listed = 0;
  for (const auto& [name, choice] : choices) {
    if (value == name) {
      target = choice;
      return {};
    }
    names += listed == 0 ? "" : listed + 1 == N ? " or " : ", ";
    names += name;
    ++listed;
  }
  return key + " must be " + names;
}

// Applies one key; returns an error text or empty.
std::string Apply(SimDevice& d, const std::string& key, const AnsiString& value) {
  struct TextKey {
    const char* name;
    AnsiString* target;
  };
  const TextKey texts[] = {{"host", &d.host},
                           {"code", &d.code},
                           {"version", &d.version},
                           {"mac", &d.mac},
                           {"ip", &d.ip},
                           {"netmask", &d.netmask},
                           {"gateway", &d.gateway},
                           {"dhcp", &d.dhcp},
                           {"hostname", &d.hostName},
                           {"name", &d.name},
                           {"password", &d.password},
                           {"source", &d.source}};
  for (const auto& k : texts) {
    if (key == k.name) {
      *k.target = value;
      return {};
    }
  }
  if (key == "payload") {
    d.payload = value;
    d.hasPayload = true;
    return {};
  }
  if (key == "reply") {
    return Choose(key, value, ReplyChoices, d.reply);
  }
  if (key == "config") {
    return Choose(key, value, ConfigChoices, d.config);
  }
  if (key == "own_address") {
    if (value != "0" && value != "1") return "own_address must be 0 or 1";
    d.ownAddress = value == "1";
    return {};
  }
  if (key == "silent") {
    if (value != "0" && value != "1") return "silent must be 0 or 1";
    d.silent = value == "1";
    return {};
  }
  struct IntKey {
    const char* name;
    int* target;
    int low;
    int high;
  };
  const IntKey ints[] = {{"fields", &d.fields, 7, 9},
                         {"delay_ms", &d.delayMs, 0, 600000},
                         {"jitter_ms", &d.jitterMs, 0, 600000},
                         {"repeat", &d.repeat, 0, 10000000},
                         {"reply_size", &d.replySize, 0, 65507}};
  for (const auto& k : ints) {
    if (key == k.name) {
      return ParseInt(value, k.low, k.high, *k.target)
                 ? std::string()
                 : key + " must be a number from " + std::to_string(k.low) + " to " +
                       std::to_string(k.high);
    }
  }
  return "unknown key '" + key + "'";
}

}  // namespace

FleetParseResult ParseFleet(std::istream& in) {
  FleetParseResult result;
  std::string line;
  int number = 0;
  bool inDevice = false;
  auto fail = [&](const std::string& why) {
    result.devices.clear();
    result.error = "line " + std::to_string(number) + ": " + why;
    return result;
  };
  while (std::getline(in, line)) {
    ++number;
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') {
      continue;
    }
    if (t == "[device]") {
      result.devices.emplace_back();
      inDevice = true;
      continue;
    }
    const auto eq = t.find('=');
    if (eq == std::string::npos) {
      return fail("expected [device] or key = value");
    }
    if (!inDevice) {
      return fail("key outside a [device] section");
    }
    const auto value = UnescapeBytes(Trim(t.substr(eq + 1)));
    if (!value) {
      return fail("bad escape in value");
    }
    if (const std::string error = Apply(result.devices.back(), Trim(t.substr(0, eq)), *value);
        !error.empty()) {
      return fail(error);
    }
  }
  for (std::size_t i = 0; i < result.devices.size(); ++i) {
    if (result.devices[i].mac.empty()) {
      number = 0;
      return fail("device " + std::to_string(i + 1) + " has no mac");
    }
  }
  return result;
}

}  // namespace tb::sim
