// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

#include "common/AnsiString.h"

namespace tb {

// Kinds of socket failure that have a short text of their own. Each platform
// layer maps its native error codes onto these, so callers never see a
// platform's numbering.
enum class SocketErrorKind {
  Unknown,
  Interrupted,
  BadFile,
  AccessDenied,
  BadAddress,
  InvalidArgument,
  TooManyOpenFiles,
  WouldBlock,
  InProgress,
  AlreadyInProgress,
  NotSocket,
  DestinationRequired,
  MessageTooLong,
  WrongProtocolType,
  BadProtocolOption,
  ProtocolNotSupported,
  SocketTypeNotSupported,
  OperationNotSupported,
  ProtocolFamilyNotSupported,
  AddressFamilyNotSupported,
  AddressInUse,
  AddressNotAvailable,
  NetworkDown,
  NetworkUnreachable,
  NetworkReset,
  ConnectionAborted,
  ConnectionReset,
  NoBufferSpace,
  AlreadyConnected,
  NotConnected,
  ShutDown,
  TooManyReferences,
  TimedOut,
  ConnectionRefused,
  SymbolicLinkLoop,
  NameTooLong,
  HostDown,
  HostUnreachable,
  DirectoryNotEmpty,
  HostNotFound,
};

// A native error code and its kind: a line of a platform layer's table.
struct NativeErrorKind {
  int code;
  SocketErrorKind kind;
};

// The kind of `code` in `table`; Unknown for a code that is not there.
SocketErrorKind KindIn(std::span<const NativeErrorKind> table, int code);

// The short text shown after the code in EIdSocketError; empty for Unknown.
AnsiString SocketErrorShortText(SocketErrorKind kind);

}  // namespace tb
