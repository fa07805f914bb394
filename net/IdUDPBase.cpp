// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdUDPBase.h"

#include "net/IdSocketHandle.h"
#include "net/IdStack.h"

namespace tb {

TIdUDPBase::~TIdUDPBase() = default;

void TIdUDPBase::SetActive(bool value) {
  if (value == GetActive()) {
    return;
  }
  if (value) {
    GetBinding();
  } else {
    CloseBinding();
  }
}

void TIdUDPBase::Send(const AnsiString& host, int port, const AnsiString& data) {
  const Ipv4 address = TIdStack::ResolveHost(host);
  GetBinding().SendTo(address, port, data);
}

void TIdUDPBase::Broadcast(const AnsiString& data, int port) {
  GetBinding().SetBroadcast(true);
  Send("255.255.255.255", port, data);
  BroadcastEnabledChanged();
}

void TIdUDPBase::SendFrom(TIdSocketHandle& binding, const AnsiString& host, int port,
                          const AnsiString& data) {
  TIdSocketHandle& sending = GetBinding();
  const Ipv4 address = TIdStack::ResolveHost(host);
  (binding.HandleAllocated() ? binding : sending).SendTo(address, port, data);
}

void TIdUDPBase::BroadcastFrom(TIdSocketHandle& binding, const AnsiString& data, int port) {
  TIdSocketHandle& sending = GetBinding();
  TIdSocketHandle& from = binding.HandleAllocated() ? binding : sending;
  from.SetBroadcast(true);
  SendFrom(from, "255.255.255.255", port, data);
  BroadcastEnabledChanged();
}

}  // namespace tb
