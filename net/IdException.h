// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"
#include "common/Exception.h"

namespace tb {

// Errors of the UDP endpoint. Every message is fixed; only EIdSocketError
// carries a code, whose short text comes from the platform's socket layer.
class EIdException : public Exception {
 public:
  using Exception::Exception;
  ~EIdException() override;
};

class EIdStackError : public EIdException {
 public:
  using EIdException::EIdException;
  ~EIdStackError() override;
};

class EIdStackInitializationFailed : public EIdStackError {
 public:
  EIdStackInitializationFailed();
  ~EIdStackInitializationFailed() override;
};

class EIdStackSetSizeExceeded : public EIdStackError {
 public:
  EIdStackSetSizeExceeded();
  ~EIdStackSetSizeExceeded() override;
};

class EIdInvalidSocket : public EIdException {
 public:
  EIdInvalidSocket();
  ~EIdInvalidSocket() override;
};

class EIdSocketHandleError : public EIdException {
 public:
  using EIdException::EIdException;
  ~EIdSocketHandleError() override;
};

class EIdCouldNotBindSocket : public EIdSocketHandleError {
 public:
  EIdCouldNotBindSocket();
  ~EIdCouldNotBindSocket() override;
};

class EIdPackageSizeTooBig : public EIdSocketHandleError {
 public:
  EIdPackageSizeTooBig();
  ~EIdPackageSizeTooBig() override;
};

class EIdNotAllBytesSent : public EIdSocketHandleError {
 public:
  EIdNotAllBytesSent();
  ~EIdNotAllBytesSent() override;
};

// A failed socket call or name look-up: "Socket Error # <code>\r\n<short text>".
class EIdSocketError : public EIdException {
 public:
  EIdSocketError(int code, const AnsiString& shortText);
  ~EIdSocketError() override;

  int LastError() const noexcept { return lastError_; }

 private:
  int lastError_;
};

}  // namespace tb
