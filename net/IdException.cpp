// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdException.h"

namespace tb {

EIdException::~EIdException() = default;
EIdStackError::~EIdStackError() = default;
EIdSocketHandleError::~EIdSocketHandleError() = default;

EIdStackInitializationFailed::EIdStackInitializationFailed()
    : EIdStackError("Winsock Initialization Error.") {}
EIdStackInitializationFailed::~EIdStackInitializationFailed() = default;

EIdStackSetSizeExceeded::EIdStackSetSizeExceeded() : EIdStackError("Set Size Exceeded.") {}
EIdStackSetSizeExceeded::~EIdStackSetSizeExceeded() = default;

EIdInvalidSocket::EIdInvalidSocket() : EIdException("Cannot allocate socket.") {}
EIdInvalidSocket::~EIdInvalidSocket() = default;

EIdCouldNotBindSocket::EIdCouldNotBindSocket()
    : EIdSocketHandleError("Could not bind socket. Address and port are already in use.") {}
EIdCouldNotBindSocket::~EIdCouldNotBindSocket() = default;

EIdPackageSizeTooBig::EIdPackageSizeTooBig() : EIdSocketHandleError("Package Size Too Big.") {}
EIdPackageSizeTooBig::~EIdPackageSizeTooBig() = default;

EIdNotAllBytesSent::EIdNotAllBytesSent() : EIdSocketHandleError("Not all bytes sent.") {}
EIdNotAllBytesSent::~EIdNotAllBytesSent() = default;

EIdSocketError::EIdSocketError(int code, const AnsiString& shortText)
    : EIdException("Socket Error # " + std::to_string(code) + "\r\n" + shortText),
      lastError_(code) {}
EIdSocketError::~EIdSocketError() = default;

}  // namespace tb
