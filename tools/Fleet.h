// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "common/AnsiString.h"

namespace tb::sim {

// How a device sends its answers.
enum class ReplyRoute {
  Sender,    // unicast to the address and port the request came from
  Directed,  // to the directed broadcast address of the arrival interface
  Limited,   // to 255.255.255.255 out of the arrival interface
};

// How a device answers a CONFIG request that names it.
enum class ConfigAnswer {
  Check,       // ACK and apply when the password matches, else NAK
  Silent,      // applies nothing and never answers
  AckThenNak,  // as Check, then a NAK shortly after
};

// One simulated device, as described by a [device] section of a fleet file.
struct SimDevice {
  AnsiString host;  // plays only in a simulator started with --host <host>; empty: everywhere
  AnsiString code = "1001";
  AnsiString version = "1.0.0";
  AnsiString mac;
  AnsiString ip = "0.0.0.0";
  AnsiString netmask = "255.255.255.0";
  AnsiString gateway = "0.0.0.0";
  AnsiString dhcp = "0";
  AnsiString hostName;
  AnsiString name;
  int fields = 9;  // 7, 8 or 9 fields in the NTM answer
  AnsiString password;
  ReplyRoute reply = ReplyRoute::Sender;
  // Dotted source address of every answer, one of the simulator host's own
  // (a device configured for another subnet); empty: chosen by routing.
  AnsiString source;
  ConfigAnswer config = ConfigAnswer::Check;
  int delayMs = 0;
  int jitterMs = 0;
  int repeat = 1;       // copies of every answer
  bool silent = false;  // receives and logs, never answers
  // Hears only requests sent to its own ip or to a broadcast, as a device
  // reached by unicast from another network does.
  bool ownAddress = false;
  bool hasPayload = false;  // answer HELLO() with `payload` instead of NTM
  AnsiString payload;
  int replySize = -1;  // >= 0: pad with 'x' or cut the answer to this many bytes
};

struct FleetParseResult {
  std::vector<SimDevice> devices;
  std::string error;  // empty on success; else "line N: ..."
};

FleetParseResult ParseFleet(std::istream& in);

}  // namespace tb::sim
