// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every Windows file of the socket layer includes Windows Sockets through
// here, so that they all agree on the size of fd_set: one wait covers up to
// 64 bindings plus the listener's waker, more than Winsock's default of 64.
#ifndef FD_SETSIZE
#define FD_SETSIZE 128
#endif

// The lean <windows.h> leaves out the first Winsock's header, so the second
// may come after it.
#include "common/WindowsHeaders.h"
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
// clang-format on
