// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/SocketErrorText.h"

namespace tb {

SocketErrorKind KindIn(std::span<const NativeErrorKind> table, int code) {
  for (const NativeErrorKind& entry : table) {
    if (entry.code == code) {
      return entry.kind;
    }
  }
  return SocketErrorKind::Unknown;
}

AnsiString SocketErrorShortText(SocketErrorKind kind) {
  using K = SocketErrorKind;
  switch (kind) {
    case K::Unknown:
      return {};
    case K::Interrupted:
      return "Interrupted system call.";
    case K::BadFile:
      return "Bad file number.";
    case K::AccessDenied:
      return "Access denied.";
    case K::BadAddress:
      return "Bad address.";
    case K::InvalidArgument:
      return "Invalid argument.";
    case K::TooManyOpenFiles:
      return "Too many open files.";
    case K::WouldBlock:
      return "Operation would block. ";
    case K::InProgress:
      return "Operation now in progress.";
    case K::AlreadyInProgress:
      return "Operation already in progress.";
    case K::NotSocket:
      return "Socket operation on non-socket.";
    case K::DestinationRequired:
      return "Destination address required.";
    case K::MessageTooLong:
      return "Message too long.";
    case K::WrongProtocolType:
      return "Protocol wrong type for socket.";
    case K::BadProtocolOption:
      return "Bad protocol option.";
    case K::ProtocolNotSupported:
      return "Protocol not supported.";
    case K::SocketTypeNotSupported:
      return "Socket type not supported.";
    case K::OperationNotSupported:
      return "Operation not supported on socket.";
    case K::ProtocolFamilyNotSupported:
      return "Protocol family not supported.";
    case K::AddressFamilyNotSupported:
      return "Address family not supported by protocol family.";
    case K::AddressInUse:
      return "Address already in use.";
    case K::AddressNotAvailable:
      return "Cannot assign requested address.";
    case K::NetworkDown:
      return "Network is down.";
    case K::NetworkUnreachable:
      return "Network is unreachable.";
    case K::NetworkReset:
      return "Net dropped connection or reset.";
    case K::ConnectionAborted:
      return "Software caused connection abort.";
    case K::ConnectionReset:
      return "Connection reset by peer.";
    case K::NoBufferSpace:
      return "No buffer space available.";
    case K::AlreadyConnected:
      return "Socket is already connected.";
    case K::NotConnected:
      return "Socket is not connected.";
    case K::ShutDown:
      return "Cannot send or receive after socket is closed.";
    case K::TooManyReferences:
      return "Too many references, cannot splice.";
    case K::TimedOut:
      return "Connection timed out.";
    case K::ConnectionRefused:
      return "Connection refused.";
    case K::SymbolicLinkLoop:
      return "Too many levels of symbolic links.";
    case K::NameTooLong:
      return "File name too long.";
    case K::HostDown:
      return "Host is down.";
    case K::HostUnreachable:
      return "No route to host.";
    case K::DirectoryNotEmpty:
      return "Directory not empty";
    case K::HostNotFound:
      return "Host not found.";
  }
  return {};
}

}  // namespace tb
