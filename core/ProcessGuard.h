// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tb {

// The programs may be given the capability to bind port 998 (Linux's
// cap_net_bind_service), which any local user then runs them with. Qt reads
// plugin paths and platform names from the environment, so a user could have
// code of their choosing loaded with that capability; and a core dump of a
// process that holds a device password is that password on disk.

// Before Qt starts: in a privileged start (the kernel's secure-execution
// flag, set when a file capability raised this process), every Qt variable
// is removed from the environment. Core dumps are disabled in any case.
void GuardProcessStart();

// Once the endpoint's sockets are bound: a capability that a privileged start
// raised is given up for good, so that nothing handled later (a device's
// datagram, a page opened) runs with it. Does nothing in a process that
// GuardProcessStart did not find privileged (root, tests, Windows).
void DropBindCapability();

}  // namespace tb
