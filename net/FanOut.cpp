#include "FanOut.h"

#include "IdUDPServer.h"
#include "Message.h"

namespace tb {

void SendCommandFanOut(const AnsiString& text, TIdUDPServer& server,
                       const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
                       const std::function<void(const AnsiString&)>& showMessage) {
  try {
    std::vector<TLocalInterface> interfaces;
    if (getLocalInterfaces(interfaces)) {
      for (const TLocalInterface& entry : interfaces) {
        try {
          if (entry.IPAddress != "127.0.0.1") {
            server.Send(entry.BroadcastAddress, CommandPort, text);
          }
        } catch (...) {
          showMessage(CommunicationErrorText);
        }
      }
    }
    server.Broadcast(text, CommandPort);
  } catch (...) {
    showMessage(CommunicationErrorText);
  }
}

void SetUpBindings(TIdUDPServer& server,
                   const std::function<std::vector<AnsiString>()>& listHostAddresses,
                   const std::function<void(const AnsiString&)>& showMessage) {
  std::vector<AnsiString> addresses;
  try {
    addresses = listHostAddresses();
  } catch (...) {
    addresses.clear();
  }
  if (addresses.empty()) {
    showMessage(NoLocalAddressText);
  }
  for (const AnsiString& address : addresses) {
    TIdSocketHandle& binding = server.Bindings().Add();
    binding.IP = address;
    binding.Port = CommandPort;
  }
}

}  // namespace tb
