// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/FanOut.h"

#include <unordered_set>

#include "core/BindingPlan.h"
#include "net/IdUDPServer.h"
#include "protocol/Message.h"

namespace tb {

namespace {

TIdSocketHandle* BindingOn(TIdUDPServer& server, const AnsiString& address) {
  for (int i = 0; i < server.Bindings().Count(); ++i) {
    if (server.Bindings().Items(i).IP == address) {
      return &server.Bindings().Items(i);
    }
  }
  return nullptr;
}

}  // namespace

// A datagram leaves by the adapter of the address it is sent from: always so
// for a limited broadcast, and for every datagram where the system holds to
// the strong host model (Windows, wine). So each network's broadcast goes out
// from the binding on that network, and the limited broadcast from every
// binding, or devices on the other adapters, and those configured for a
// foreign subnet above all, would never hear the command.
void SendCommandFanOut(const AnsiString& text, TIdUDPServer& server,
                       const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
                       const std::function<void(const AnsiString&)>& showMessage) {
  try {
    std::vector<TLocalInterface> interfaces;
    if (getLocalInterfaces(interfaces)) {
      for (const TLocalInterface& entry : interfaces) {
        try {
          if (entry.IPAddress == "127.0.0.1") {
            continue;
          }
          if (TIdSocketHandle* own = BindingOn(server, entry.IPAddress)) {
            server.SendFrom(*own, entry.BroadcastAddress, CommandPort, text);
          } else {
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
  // An endpoint that could not be activated has said so already.
  for (int i = 0; server.Active() && i < server.Bindings().Count(); ++i) {
    TIdSocketHandle& binding = server.Bindings().Items(i);
    if (&binding == server.SendingBinding() || !binding.HandleAllocated()) {
      continue;
    }
    try {
      server.BroadcastFrom(binding, text, CommandPort);
    } catch (...) {
      showMessage(CommunicationErrorText);
    }
  }
}

void SendCommandFanOutFrom(
    const AnsiString& text, TIdUDPServer& server, const std::set<AnsiString>& fromAddresses,
    const std::function<bool(std::vector<TLocalInterface>&)>& getLocalInterfaces,
    const std::function<void(const AnsiString&)>& showMessage) {
  std::vector<TIdSocketHandle*> from;
  for (int i = 0; server.Active() && i < server.Bindings().Count(); ++i) {
    TIdSocketHandle& binding = server.Bindings().Items(i);
    if (binding.HandleAllocated() && fromAddresses.contains(binding.IP)) {
      from.push_back(&binding);
    }
  }
  if (from.empty()) {
    SendCommandFanOut(text, server, getLocalInterfaces, showMessage);
    return;
  }
  std::vector<TLocalInterface> interfaces;
  try {
    if (!getLocalInterfaces(interfaces)) {
      interfaces.clear();
    }
  } catch (...) {
    interfaces.clear();
  }
  for (TIdSocketHandle* binding : from) {
    try {
      for (const TLocalInterface& entry : interfaces) {
        if (entry.IPAddress == binding->IP) {
          server.SendFrom(*binding, entry.BroadcastAddress, CommandPort, text);
        }
      }
      server.BroadcastFrom(*binding, text, CommandPort);
    } catch (...) {
      showMessage(CommunicationErrorText);
    }
  }
}

void SendToTargets(const AnsiString& text, TIdUDPServer& server,
                   const std::vector<TargetEntry>& targets,
                   const std::function<Ipv4(Ipv4)>& routeSource,
                   const std::function<void(const AnsiString&)>& showMessage) {
  std::unordered_set<Ipv4> sent;
  for (const TargetEntry& entry : targets) {
    const std::vector<Ipv4> destinations = TargetDestinations({entry});
    Ipv4 source = 0;
    try {
      source = routeSource(destinations.front());
    } catch (...) {
      source = 0;
    }
    if (source == 0) {
      showMessage(CommunicationErrorText);
      continue;
    }
    TIdSocketHandle* own = BindingOn(server, FormatDottedIPv4(source));
    bool failed = false;
    for (const Ipv4 destination : destinations) {
      if (!sent.insert(destination).second) {
        continue;
      }
      try {
        if (own != nullptr) {
          server.SendFrom(*own, FormatDottedIPv4(destination), CommandPort, text);
        } else {
          server.Send(FormatDottedIPv4(destination), CommandPort, text);
        }
      } catch (...) {
        failed = true;
      }
    }
    if (failed) {
      showMessage(CommunicationErrorText);
    }
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
  for (const AnsiString& address : BindingAddresses(addresses)) {
    TIdSocketHandle& binding = server.Bindings().Add();
    binding.IP = address;
    binding.Port = CommandPort;
  }
}

}  // namespace tb
