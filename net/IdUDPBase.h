// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"
#include "net/IdComponent.h"

namespace tb {

class TIdSocketHandle;

// What every UDP component has: the buffer size, the broadcast permission and
// the two send operations. Subclasses decide which socket sends.
class TIdUDPBase : public TIdComponent {
 public:
  TIdUDPBase() = default;
  ~TIdUDPBase() override;

  int BufferSize = 8192;
  bool BroadcastEnabled = false;

  bool Active() const { return GetActive(); }
  void SetActive(bool value);

  // One datagram with exactly the bytes of `data` to host:port, from the
  // sending binding (activating first when needed). Raises on failure.
  virtual void Send(const AnsiString& host, int port, const AnsiString& data);
  // The same to 255.255.255.255:port, with broadcast permission forced on
  // for the send and re-applied from BroadcastEnabled afterwards.
  virtual void Broadcast(const AnsiString& data, int port);
  // Send and Broadcast from `binding`'s socket rather than the sending
  // binding's (which stays as it is); from the sending binding while
  // `binding` has no socket. Activates first when needed.
  virtual void SendFrom(TIdSocketHandle& binding, const AnsiString& host, int port,
                        const AnsiString& data);
  virtual void BroadcastFrom(TIdSocketHandle& binding, const AnsiString& data, int port);

 protected:
  virtual void CloseBinding() = 0;
  virtual bool GetActive() const = 0;
  // The socket that sends; activates the endpoint when there is none.
  virtual TIdSocketHandle& GetBinding() = 0;
  virtual void BroadcastEnabledChanged() = 0;
};

}  // namespace tb
