#pragma once

// Every Windows file of the socket layer includes Windows Sockets through
// here, so that they all agree on the size of fd_set: one wait covers up to
// 64 bindings plus the listener's waker, more than Winsock's default of 64.
#ifndef FD_SETSIZE
#define FD_SETSIZE 128
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on
