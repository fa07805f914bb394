// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DeviceLogic.h"

#include "protocol/Message.h"

namespace tb::sim {

AnsiString BuildDiscoveryReply(const SimDevice& device) {
  AnsiString reply;
  if (device.hasPayload) {
    reply = device.payload;
  } else {
    reply = "NTM(" + device.code + "," + device.version + "," + device.mac + "," + device.ip + "," +
            device.netmask + "," + device.gateway + "," + device.dhcp;
    if (device.fields >= 8) {
      reply += "," + device.hostName;
    }
    if (device.fields >= 9) {
      reply += "," + device.name;
    }
    reply += ")";
  }
  if (device.replySize >= 0) {
    reply.resize(static_cast<std::size_t>(device.replySize), 'x');
  }
  return reply;
}

std::optional<AnsiString> HandleConfig(SimDevice& device, const AnsiString& request) {
  if (GetCommandName(request) != "CONFIG" || GetField(request, 1, ',') != device.mac ||
      device.config == ConfigAnswer::Silent) {
    return std::nullopt;
  }
  // A form of the request carries five or six fields; anything else is refused.
  const bool five = HasFields(request, 5);
  const bool seven = HasFields(request, 7);
  if (GetField(request, 1, '(') != device.password || !five || seven) {
    return "NAK(" + device.mac + ")";
  }
  const AnsiString ip = GetField(request, 2, ',');
  const AnsiString netmask = GetField(request, 3, ',');
  const AnsiString gateway = GetField(request, 4, ',');
  if (ip == "0.0.0.0" && netmask == "0.0.0.0" && gateway == "0.0.0.0") {
    device.dhcp = "1";
  } else {
    device.dhcp = "0";
    device.ip = ip;
    device.netmask = netmask;
    device.gateway = gateway;
  }
  if (HasFields(request, 6)) {
    device.hostName = GetField(request, 5, ',');
  }
  return "ACK(" + device.mac + ")";
}

}  // namespace tb::sim
