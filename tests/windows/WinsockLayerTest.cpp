// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "net/IdComponent.h"
#include "net/IdException.h"
#include "net/IdSocketHandle.h"
#include "net/IdStack.h"
#include "net/LocalInterfaces.h"
#include "net/SocketLayer.h"
#include "net/WinsockHeaders.h"
#include "tests/net/SocketErrorChecks.h"

namespace tb {
namespace {

// Windows Sockets codes and their short texts, byte for byte (10035 keeps
// its trailing blank; 11001 belongs to the Windows stack alone).
TEST(WinsockLayerTest, CodesGetTheirShortTexts) {
  const test::CodeText cases[] = {
      {10004, "Interrupted system call."},
      {10009, "Bad file number."},
      {10013, "Access denied."},
      {10014, "Bad address."},
      {10022, "Invalid argument."},
      {10024, "Too many open files."},
      {10035, "Operation would block. "},
      {10036, "Operation now in progress."},
      {10037, "Operation already in progress."},
      {10038, "Socket operation on non-socket."},
      {10039, "Destination address required."},
      {10040, "Message too long."},
      {10041, "Protocol wrong type for socket."},
      {10042, "Bad protocol option."},
      {10043, "Protocol not supported."},
      {10044, "Socket type not supported."},
      {10045, "Operation not supported on socket."},
      {10046, "Protocol family not supported."},
      {10047, "Address family not supported by protocol family."},
      {10048, "Address already in use."},
      {10049, "Cannot assign requested address."},
      {10050, "Network is down."},
      {10051, "Network is unreachable."},
      {10052, "Net dropped connection or reset."},
      {10053, "Software caused connection abort."},
      {10054, "Connection reset by peer."},
      {10055, "No buffer space available."},
      {10056, "Socket is already connected."},
      {10057, "Socket is not connected."},
      {10058, "Cannot send or receive after socket is closed."},
      {10059, "Too many references, cannot splice."},
      {10060, "Connection timed out."},
      {10061, "Connection refused."},
      {10062, "Too many levels of symbolic links."},
      {10063, "File name too long."},
      {10064, "Host is down."},
      {10065, "No route to host."},
      {10066, "Directory not empty"},
      {11001, "Host not found."},
      // Codes without a text of their own.
      {0, ""},
      {10067, ""},
      {10093, ""},
      {11002, ""},
      {13, ""},
  };
  test::ExpectShortTexts(cases);
}

TEST(WinsockLayerTest, RaisedErrorCarriesCodeAndText) {
  test::ExpectRaised(WSAHOST_NOT_FOUND, "Socket Error # 11001\r\nHost not found.");
}

TEST(WinsockLayerTest, BindingWithAnAddressThatIsNotDottedIsAnInvalidArgument) {
  const TIdComponent stack;
  TIdSocketHandle binding(0);
  binding.IP = "localhost";
  binding.AllocateSocket();
  try {
    binding.Bind();
    FAIL() << "no exception";
  } catch (const EIdSocketError& e) {
    EXPECT_EQ(e.LastError(), 10022);
    EXPECT_EQ(e.Message(), "Socket Error # 10022\r\nInvalid argument.");
  }
}

// Windows Sockets is started by the first component and released by the
// last; a socket outside that span is refused by Windows itself.
TEST(WinsockLayerTest, StackStartsWindowsSocketsOncePerProcess) {
  ASSERT_EQ(TIdStack::Instance(), nullptr);
  int error = 0;
  {
    const TIdComponent first;
    const TIdComponent second;
    const socketlayer::Handle s = socketlayer::OpenDatagram(error);
    ASSERT_NE(s, socketlayer::InvalidHandle) << error;
    socketlayer::Close(s);
  }
  EXPECT_EQ(TIdStack::Instance(), nullptr);
  const socketlayer::Handle late = socketlayer::OpenDatagram(error);
  EXPECT_EQ(late, socketlayer::InvalidHandle);
  EXPECT_EQ(error, WSANOTINITIALISED);
  socketlayer::Close(late);
}

// The interface listing starts and releases Windows Sockets around itself;
// the endpoint's own start-up must survive that.
TEST(WinsockLayerTest, InterfaceListingLeavesTheStackRunning) {
  const TIdComponent stack;
  std::vector<TLocalInterface> list;
  ASSERT_TRUE(GetLocalInterfaces(list));
  ASSERT_TRUE(GetLocalInterfaces(list));
  int error = 0;
  const socketlayer::Handle s = socketlayer::OpenDatagram(error);
  EXPECT_NE(s, socketlayer::InvalidHandle) << error;
  socketlayer::Close(s);
}

TEST(WinsockLayerTest, HostAddressesComeFromTheHostName) {
  const TIdComponent stack;
  AnsiString name;
  ASSERT_EQ(socketlayer::HostName(name), 0);
  EXPECT_FALSE(name.empty());
  EXPECT_LT(name.size(), 250U);
  const std::vector<AnsiString> addresses = ListHostAddresses();
  for (const AnsiString& address : addresses) {
    EXPECT_TRUE(ParseDottedIPv4(address).has_value()) << address;
  }
  // The same call twice lists the same: nothing is cached, nothing changes.
  EXPECT_EQ(ListHostAddresses(), addresses);
}

TEST(WinsockLayerTest, WaitWithoutSocketsStillWaits) {
  const TIdComponent stack;
  std::vector<socketlayer::Handle> readable;
  bool woken = true;
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(socketlayer::Wait({}, nullptr, 100, readable, woken), 0);
  EXPECT_GE(::GetTickCount() - start, 80U) << "an empty wait must not spin";
  EXPECT_TRUE(readable.empty());
  EXPECT_FALSE(woken);
}

TEST(WinsockLayerTest, WakerEndsAWaitAndIsDrained) {
  const TIdComponent stack;
  socketlayer::Waker waker;
  ASSERT_TRUE(waker.Valid());
  std::vector<socketlayer::Handle> readable;
  bool woken = false;
  waker.Wake();
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(socketlayer::Wait({}, &waker, 5000, readable, woken), 0);
  EXPECT_TRUE(woken);
  EXPECT_LT(::GetTickCount() - start, 2000U);
  // Drained: the next wait times out.
  EXPECT_EQ(socketlayer::Wait({}, &waker, 50, readable, woken), 0);
  EXPECT_FALSE(woken);
}

TEST(WinsockLayerTest, TooManySocketsForOneWaitAreRefused) {
  const TIdComponent stack;
  std::vector<socketlayer::Handle> sockets(FD_SETSIZE + 1, socketlayer::InvalidHandle);
  std::vector<socketlayer::Handle> readable;
  bool woken = false;
  EXPECT_EQ(socketlayer::Wait(sockets, nullptr, 10, readable, woken), WSAEINVAL);
}

}  // namespace
}  // namespace tb
