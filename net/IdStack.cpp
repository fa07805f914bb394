// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdStack.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>

#include "net/IdComponent.h"
#include "net/IdException.h"
#include "net/SocketLayer.h"

namespace tb {

namespace {

std::mutex& StackLock() {
  static std::mutex lock;
  return lock;
}

int& ComponentCount() {
  static int count = 0;
  return count;
}

std::unique_ptr<TIdStack>& StackInstance() {
  static std::unique_ptr<TIdStack> instance;
  return instance;
}

bool IsLocalhost(const AnsiString& host) {
  static constexpr char kName[] = "LOCALHOST";
  return host.size() == sizeof kName - 1 &&
         std::equal(host.begin(), host.end(), kName, [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

}  // namespace

TIdStack* TIdStack::Instance() {
  const std::lock_guard<std::mutex> guard(StackLock());
  return StackInstance().get();
}

void TIdStack::AddComponent() {
  const std::lock_guard<std::mutex> guard(StackLock());
  if (ComponentCount() == 0) {
    if (!socketlayer::StartUp()) {
      throw EIdStackInitializationFailed();
    }
    StackInstance().reset(new TIdStack());
  }
  ++ComponentCount();
}

void TIdStack::RemoveComponent() {
  const std::lock_guard<std::mutex> guard(StackLock());
  if (ComponentCount() > 0 && --ComponentCount() == 0) {
    StackInstance().reset();
    socketlayer::CleanUp();
  }
}

std::vector<AnsiString> TIdStack::ListHostAddresses() const { return tb::ListHostAddresses(); }

Ipv4 TIdStack::ResolveHost(const AnsiString& host) {
  if (IsLocalhost(host)) {
    return 0x7F000001U;
  }
  if (const auto dotted = ParseDottedIPv4(host)) {
    return *dotted;
  }
  Ipv4 address = 0;
  if (const int error = socketlayer::ResolveIPv4(host, address); error != 0) {
    RaiseSocketError(error);
  }
  return address;
}

void TIdStack::RaiseSocketError(int code) {
  throw EIdSocketError(code, SocketErrorShortText(socketlayer::KindOf(code)));
}

std::vector<AnsiString> ListHostAddresses() {
  // Windows Sockets answers only while started: the listing keeps the stack
  // for itself, so it works with or without an endpoint alive.
  const TIdComponent keepStack;
  std::vector<Ipv4> addresses;
  if (const int error = socketlayer::HostAddresses(addresses); error != 0) {
    TIdStack::RaiseSocketError(error);
  }
  std::vector<AnsiString> result;
  result.reserve(addresses.size());
  for (const Ipv4 address : addresses) {
    result.push_back(FormatDottedIPv4(address));
  }
  return result;
}

}  // namespace tb
