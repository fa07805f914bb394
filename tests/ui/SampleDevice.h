// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Properties.h"

namespace tb::test {

// The dialog's data fields as the list would hand over a device: a Latin-1
// name, fixed addresses, and a host name allowed unless on DHCP.
inline void FillSampleDevice(TfrmProperties& dlg, bool dhcp = false) {
  dlg.DeviceName = "Caf\xE9 IO-40";
  dlg.MAC = "00-11-22-33-44-55";
  dlg.Version = "2.07";
  dlg.DHCP = dhcp;
  dlg.IP = "192.168.0.20";
  dlg.Netmask = "255.255.255.0";
  dlg.Gateway = "192.168.0.1";
  dlg.HostNameEnabled = !dhcp;
  dlg.HostName = "lab-io";
}

}  // namespace tb::test
