// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <span>
#include <string>

#include "net/IdException.h"
#include "net/IdStack.h"
#include "net/SocketErrorText.h"
#include "net/SocketLayer.h"

// The error texts' checks that every platform's tests run on its own codes:
// the POSIX build on errno values, the Windows build on Winsock's.
namespace tb::test {

// A native error code and the short text its kind reads as.
struct CodeText {
  int code;
  const char* text;
};

inline void ExpectShortTexts(std::span<const CodeText> cases) {
  for (const CodeText& c : cases) {
    EXPECT_EQ(SocketErrorShortText(socketlayer::KindOf(c.code)), c.text) << c.code;
  }
}

// TIdStack::RaiseSocketError(code) throws an EIdSocketError that carries
// `code` and reads as `message`.
inline void ExpectRaised(int code, const std::string& message) {
  try {
    TIdStack::RaiseSocketError(code);
    FAIL() << "no exception";
  } catch (const EIdSocketError& e) {
    EXPECT_EQ(e.LastError(), code);
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace tb::test
