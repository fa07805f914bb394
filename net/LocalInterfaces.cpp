// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/LocalInterfaces.h"

#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"

namespace tb {

TLocalInterface DescribeInterface(const socketlayer::InterfaceAddress& entry,
                                  const AnsiString& computerName) {
  TLocalInterface item;
  item.ComputerName = computerName;
  item.IPAddress = FormatDottedIPv4(entry.address);
  item.NetMask = FormatDottedIPv4(entry.netmask);
  item.NetAddress = FormatDottedIPv4(entry.address & entry.netmask);
  item.ReportedBroadcast = FormatDottedIPv4(entry.reportedBroadcast);
  item.BroadcastAddress = FormatDottedIPv4(DirectedBroadcast(entry.address, entry.netmask));
  item.IsUp = entry.up;
  item.IsBroadcast = entry.broadcast;
  item.IsLoopback = entry.loopback;
  return item;
}

}  // namespace tb
