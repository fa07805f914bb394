// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "common/AnsiString.h"

namespace tb::socketlayer {
struct InterfaceAddress;
}  // namespace tb::socketlayer

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
// the list is then empty. Never raises. One file per platform.
bool GetLocalInterfaces(std::vector<TLocalInterface>& list);

// The entry for one address as the system reports it, with the network and
// directed broadcast computed from address and netmask.
TLocalInterface DescribeInterface(const socketlayer::InterfaceAddress& entry,
                                  const AnsiString& computerName);

}  // namespace tb
