// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/Spanish.h"

#include <gtest/gtest.h>

#include "core/diagnosis/WindowsChecks.h"
#include "core/diagnosis/WindowsFirewall.h"
#include "core/diagnosis/WindowsQuery.h"

namespace tb::diagnosis {
namespace {

using namespace windows_checks;

// Texts as the checks write them, and what the window shows instead.
TEST(Spanish, TextsTranslatedWithTheirPartsKept) {
  const std::pair<QString, QString> cases[] = {
      {"998 is held by otro.exe (pid 77)", "998 lo tiene otro.exe (pid 77)"},
      {"taskkill /PID 77", "taskkill /PID 77"},
      {"netsh advfirewall firewall set rule name=\"A b\" new enable=no   (as administrator)",
       "netsh advfirewall firewall set rule name=\"A b\" new enable=no   (como administrador)"},
      {"up, Wi-Fi, 192.168.1.10/24, 10.0.0.1/8", "activa, Wi-Fi, 192.168.1.10/24, 10.0.0.1/8"},
      {"Windows Firewall could not be read (its rules: 0x80004001); 'netsh x' and 'netsh y' show "
       "it",
       "no se pudo leer el Firewall de Windows (its rules: 0x80004001); 'netsh x' y 'netsh y' lo "
       "muestran"},
      {"12 device(s) answered a query out of eth0 (10.77.0.1)",
       "12 dispositivo(s) respondieron a una consulta desde eth0 (10.77.0.1)"},
      // Linux's texts, the catch-all "up, ..." last among them.
      {"998 can be bound on 10.77.0.1, 255.255.255.255 (as root)",
       "998 se puede enlazar en 10.77.0.1, 255.255.255.255 (como root)"},
      {"up, 10.77.0.1/24, broadcast 10.77.0.255, but without a link (cable, radio)",
       "activa, 10.77.0.1/24, broadcast 10.77.0.255, pero sin enlace (cable, radio)"},
      {"up, 10.77.0.1/24, broadcast 10.77.0.255", "activa, 10.77.0.1/24, broadcast 10.77.0.255"},
      {"0 in effect (all 0, eth0 0): off", "0 en vigor (all 0, eth0 0): desactivado"},
      {"no nftables or iptables rule drops UDP port 998 (ufw is active)",
       "ninguna regla de nftables ni de iptables descarta el puerto UDP 998 (ufw est\u00e1 "
       "activo)"},
      {"6 device(s) answered; answers by unicast 1, by directed broadcast 2, by limited broadcast "
       "3",
       "6 dispositivo(s) respondieron; respuestas por unicast 1, por broadcast dirigido 2, por "
       "broadcast limitado 3"},
      {"something new", "something new"},
  };
  for (const auto& [english, spanish] : cases) {
    EXPECT_EQ(InSpanish(english), spanish);
  }
}

// Every detail and mend the Windows checks write has its Spanish, so a text
// changed in English without its translation is caught.
TEST(Spanish, EveryWindowsVerdictIsTranslated) {
  constexpr std::uint32_t Lan = 0xC0A8010A;
  std::vector<Verdict> out;
  CheckAdapters({{"E", "Intel", IfTypeEthernet, true, false, {{Lan, 24}}},
                 {"E", "Intel", IfTypeEthernet, false, true, {{Lan, 24}}},
                 {"E", "Intel", IfTypeEthernet, false, false, {{Lan, 24}}},
                 {"E", "Intel", IfTypeEthernet, true, false, {{0xA9FE0001, 16}}},
                 {"E", "TAP-Windows", IfTypeEthernet, true, false, {{Lan, 24}}},
                 {"vEthernet (WSL)", "Hyper-V", IfTypeEthernet, true, false, {{Lan, 24}}}},
                out);
  CheckAdapters({}, out);
  CheckPortHolders({}, 0, out);
  CheckPortHolders({{0, 7, "x.exe"}}, 7, out);
  CheckPortHolders({{0, 7, ""}}, 0, out);
  std::vector<FirewallProfile> profiles = {{ProfileDomain, false, false, false},
                                           {ProfilePrivate, true, true, false},
                                           {ProfilePublic, true, false, true}};
  const FirewallRule block{"B", true, false, ProfileDomain | ProfilePublic, ProtocolUdp, "998", ""};
  const FirewallRule allow{"A", true, true, ProfileDomain | ProfilePublic, ProtocolUdp, "998", ""};
  CheckFirewall({{}, ProfileDomain | ProfilePrivate | ProfilePublic, profiles, {block}}, "", out);
  profiles[0].enabled = true;
  profiles[2].allowInboundByDefault = false;
  CheckFirewall({{}, ProfileDomain | ProfilePublic, profiles, {allow}}, "", out);
  CheckFirewall({{}, ProfilePublic, profiles, {}}, "", out);
  CheckFirewall({{}, 0, profiles, {}}, "", out);
  CheckFirewall({"0x80004001", 0, {}, {}}, "", out);
  profiles[2].allowInboundByDefault = true;
  CheckFirewall({{}, ProfilePublic, profiles, {}}, "", out);
  const HeardAnswer far{"m1", "Uno", "172.16.0.9", Lan};
  const HeardAnswer blank{"m2", "Dos", "0.0.0.0", Lan};
  CheckQueries({{"E", {Lan, 24}, std::vector{far, blank}}, {"E", {Lan, 24}, std::nullopt}}, out);
  CheckQueries({{"E", {Lan, 24}, std::vector<HeardAnswer>{}}}, out);
  for (const Verdict& v : out) {
    EXPECT_NE(InSpanish(v.detail), v.detail);
    if (v.mend.contains(QLatin1String("(as administrator)")) ||
        v.mend.contains(QLatin1String("(ADDRESS"))) {
      EXPECT_NE(InSpanish(v.mend), v.mend);
    }
  }
}

}  // namespace
}  // namespace tb::diagnosis
