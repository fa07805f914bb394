// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "net/IdException.h"
#include "tests/net/SocketErrorChecks.h"

namespace tb {
namespace {

TEST(ErrorTextTest, FixedMessagesAndHierarchy) {
  EXPECT_EQ(EIdInvalidSocket().Message(), "Cannot allocate socket.");
  EXPECT_EQ(EIdCouldNotBindSocket().Message(),
            "Could not bind socket. Address and port are already in use.");
  EXPECT_EQ(EIdPackageSizeTooBig().Message(), "Package Size Too Big.");
  EXPECT_EQ(EIdNotAllBytesSent().Message(), "Not all bytes sent.");
  EXPECT_EQ(EIdStackSetSizeExceeded().Message(), "Set Size Exceeded.");
  EXPECT_EQ(EIdStackInitializationFailed().Message(), "Winsock Initialization Error.");

  const EIdCouldNotBindSocket bind;
  EXPECT_NE(dynamic_cast<const EIdSocketHandleError*>(&bind), nullptr);
  const EIdStackSetSizeExceeded setSize;
  EXPECT_NE(dynamic_cast<const EIdStackError*>(&setSize), nullptr);
  const EIdSocketError socketError(1, "");
  EXPECT_NE(dynamic_cast<const Exception*>(&socketError), nullptr);
}

TEST(ErrorTextTest, SocketErrorMessageCarriesCodeAndShortText) {
  const EIdSocketError e(10048, "Address already in use.");
  EXPECT_EQ(e.Message(), "Socket Error # 10048\r\nAddress already in use.");
  EXPECT_EQ(e.LastError(), 10048);
  EXPECT_EQ(EIdSocketError(7, "").Message(), "Socket Error # 7\r\n");
}

// The platform's codes map onto the short texts; the texts are fixed byte for byte.
TEST(ErrorTextTest, NativeCodesGetTheirShortTexts) {
  const test::CodeText cases[] = {
      {EACCES, "Access denied."},
      {EADDRINUSE, "Address already in use."},
      {EADDRNOTAVAIL, "Cannot assign requested address."},
      {EMSGSIZE, "Message too long."},
      {EWOULDBLOCK, "Operation would block. "},
      {ENETUNREACH, "Network is unreachable."},
      {EHOSTUNREACH, "No route to host."},
      {ENOTEMPTY, "Directory not empty"},
      {ESHUTDOWN, "Cannot send or receive after socket is closed."},
      {EAFNOSUPPORT, "Address family not supported by protocol family."},
      {EINTR, "Interrupted system call."},
      {0x7fff, ""},
  };
  test::ExpectShortTexts(cases);
}

TEST(ErrorTextTest, RaiseSocketErrorFormatsTheNativeCode) {
  test::ExpectRaised(EACCES, "Socket Error # " + std::to_string(EACCES) + "\r\nAccess denied.");
}

}  // namespace
}  // namespace tb
