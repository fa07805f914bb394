#pragma once

#include <vector>

#include "AnsiString.h"

namespace tb {

// One local IPv4 address with its network.
struct TLocalInterface {
  AnsiString ComputerName;
  AnsiString IPAddress;
  AnsiString NetMask;
  AnsiString NetAddress;
  AnsiString ReportedBroadcast;
  AnsiString BroadcastAddress;  // computed from IPAddress and NetMask, never the reported one
  bool IsUp = false;
  bool IsBroadcast = false;
  bool IsLoopback = false;
};

// Every IPv4 address of every interface (loopback and down ones included),
// in the system's order. False only when the system cannot be asked at all;
// the list is then empty. Never raises.
bool GetLocalInterfaces(std::vector<TLocalInterface>& list);

}  // namespace tb
