#include "FanOut.h"

#include <algorithm>

#include "IdUDPServer.h"

namespace tb {

namespace {

// Every device listens on this port.
constexpr int CommandPortNumber = 998;

}  // namespace

void SendCommandFanOut(const AnsiString& text, TIdUDPServer& server,
                       const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
                       const std::function<void(const AnsiString&)>& showMessage) {
  try {
    std::vector<TLocalInterface> interfaces;
    if (getLocalInterfaces(interfaces)) {
      for (const TLocalInterface& entry : interfaces) {
        try {
          if (entry.IPAddress != "127.0.0.1") {
            server.Send(entry.BroadcastAddress, CommandPortNumber, text);
          }
        } catch (...) {
          showMessage(CommunicationErrorText);
        }
      }
    }
    server.Broadcast(text, CommandPortNumber);
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
  std::vector<AnsiString> bound;
  for (const AnsiString& address : addresses) {
    // An address held by two interfaces is listed twice; a second binding
    // on it could never bind, and would fail every activation.
    if (std::find(bound.begin(), bound.end(), address) != bound.end()) {
      continue;
    }
    bound.push_back(address);
    TIdSocketHandle& binding = server.Bindings().Add();
    binding.IP = address;
    binding.Port = CommandPortNumber;
  }
}

}  // namespace tb
