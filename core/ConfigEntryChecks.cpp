// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ConfigEntryChecks.h"

#include <string_view>

#include "core/IPAddressChecks.h"

namespace tb {

namespace {

// Latin-1 bytes, as every text of the program.
const char* const kBadIP = "Direcci\xF3n IP no v\xE1lida.";
const char* const kBadGateway = "Direcci\xF3n del Gateway no v\xE1lida.";
const char* const kBadHostName = "Nombre del Host no v\xE1lido.";
const char* const kBadPassword = "Clave de acceso no v\xE1lida.";

// The password is the first field, which runs to the first ',' of the whole
// request: '(' and ')' stay inside it. The host name is the last field, so
// it ends at a ',' or, with none after it, at its first ')'. A device reads
// nothing after a zero byte, so one would cut the request short.
constexpr std::string_view kPasswordBreakers{",\0", 2};
constexpr std::string_view kHostNameBreakers{",)\0", 3};

bool Fits(const ConfigEntry& entry, std::string_view breakers) {
  return !entry.hasUnencodable && entry.text.find_first_of(breakers) == AnsiString::npos;
}

}  // namespace

bool AreConfigEntriesSendable(const ConfigEntry& password, const ConfigEntry* hostName,
                              AnsiString& message) {
  message.clear();
  if (hostName != nullptr && !Fits(*hostName, kHostNameBreakers)) {
    message = kBadHostName;
  } else if (!Fits(password, kPasswordBreakers)) {
    message = kBadPassword;
  }
  return message.empty();
}

bool AreConfigAddressesSendable(const AnsiString& ip, const std::function<AnsiString()>& gateway,
                                AnsiString& message) {
  message.clear();
  if (!IsHostAddress(ip)) {
    message = kBadIP;
    return false;
  }
  const AnsiString gatewayText = gateway();
  if (gatewayText != "0.0.0.0" && !IsHostAddress(gatewayText)) {
    message = kBadGateway;
    return false;
  }
  return true;
}

}  // namespace tb
