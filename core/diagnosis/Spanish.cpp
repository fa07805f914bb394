// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/diagnosis/Spanish.h"

#include <QRegularExpression>
#include <utility>

namespace tb::diagnosis {

namespace {

// Each English text as a whole, and its Spanish with the captured parts
// (\1, \2 ...) put back where they go.
const std::pair<const char*, const char*> Translations[] = {
    {R"~((.+)   \(as administrator\))~", R"~(\1   (como administrador))~"},
    {R"~((.+)   \(ADDRESS: a free address of (\S+)\))~",
     R"~(\1   (ADDRESS: una dirección libre de \2))~"},
    {R"~(998 is held by this program alone)~", R"~(998 lo tiene solo este programa)~"},
    {R"~(998 is free on every address)~", R"~(998 está libre en todas las direcciones)~"},
    {R"~(998 is held by a program this user may not see \(pid (\d+); run as administrator to see its name\))~",
     R"~(998 lo tiene un programa que este usuario no puede ver (pid \1; ejecute el programa como administrador para ver su nombre))~"},
    {R"~(998 is held by (.+))~", R"~(998 lo tiene \1)~"},
    {R"~(media disconnected \(cable, radio\), (.+))~",
     R"~(medio desconectado (cable, radio), \1)~"},
    {R"~(down, with (.+): nothing is sent or heard there)~",
     R"~(desactivada, con \1: no se envía ni se oye nada por ella)~"},
    {R"~((\S+) only: no DHCP server answered, so devices on its network cannot be reached)~",
     R"~(solo \1: ningún servidor DHCP respondió, así que los dispositivos de su red no se alcanzan)~"},
    {R"~(tunnel or VPN adapter, (.+): devices are not found through it, and it may take their answers)~",
     R"~(adaptador de túnel o VPN, \1: no se encuentran dispositivos por él, y puede quedarse con sus respuestas)~"},
    {R"~(virtual adapter, (.+): devices are not found through it, and it may take their answers)~",
     R"~(adaptador virtual, \1: no se encuentran dispositivos por él, y puede quedarse con sus respuestas)~"},
    {R"~(up, (Ethernet|Wi-Fi), (.+))~", R"~(activa, \1, \2)~"},
    {R"~(no IPv4 network but the loopback one: there is nowhere to look for devices)~",
     R"~(ninguna red IPv4 salvo la de loopback: no hay dónde buscar dispositivos)~"},
    {R"~(Windows Firewall is off on the active (\w+) profile: it stops no answer)~",
     R"~(el Firewall de Windows está desactivado en el perfil activo \1: no detiene ninguna respuesta)~"},
    {R"~(the active (\w+) profile blocks every incoming packet, whatever its rules allow: the devices' answers are dropped)~",
     R"~(el perfil activo \1 bloquea toda conexión entrante, permitan lo que permitan sus reglas: las respuestas de los dispositivos se descartan)~"},
    {R"~(the inbound rule "(.+)" blocks UDP (\d+) on the active (\w+) profile: the devices' answers are dropped)~",
     R"~(la regla de entrada "\1" bloquea UDP \2 en el perfil activo \3: las respuestas de los dispositivos se descartan)~"},
    {R"~(the active (\w+) profile lets incoming packets in unless a rule blocks them)~",
     R"~(el perfil activo \1 deja entrar los paquetes salvo que una regla los bloquee)~"},
    {R"~(the inbound rule "(.+)" lets UDP (\d+) in on the active (\w+) profile)~",
     R"~(la regla de entrada "\1" deja entrar UDP \2 en el perfil activo \3)~"},
    {R"~(no inbound rule lets UDP (\d+) or this program in on the active (\w+) profile: the devices' answers are dropped)~",
     R"~(ninguna regla de entrada deja entrar UDP \1 ni este programa en el perfil activo \2: las respuestas de los dispositivos se descartan)~"},
    {R"~(Windows Firewall could not be read \((.+)\); (.+) and (.+) show it)~",
     R"~(no se pudo leer el Firewall de Windows (\1); \2 y \3 lo muestran)~"},
    {R"~(Windows Firewall names no active profile; (.+) and (.+) show it)~",
     R"~(el Firewall de Windows no indica ningún perfil activo; \1 y \2 lo muestran)~"},
    {R"~((\d+) device\(s\) answered a query out of (.+))~",
     R"~(\1 dispositivo(s) respondieron a una consulta desde \2)~"},
    {R"~((\d+) device\(s\) answered the program's own query)~",
     R"~(\1 dispositivo(s) respondieron a la consulta del propio programa)~"},
    {R"~(no query could be sent out of (\S+); see the port check)~",
     R"~(no se pudo enviar ninguna consulta desde \1; vea la comprobación del puerto)~"},
    {R"~((.+) answered on (.+) with no IP address yet \("(.*)"\): its web page cannot be reached)~",
     R"~(\1 respondió en \2 aún sin dirección IP ("\3"): no se puede abrir su página web)~"},
    {R"~((.+) at (\S+) answered on (.+), outside its network (\S+): it can be configured, but its web page cannot be reached from here)~",
     R"~(\1 en \2 respondió en \3, fuera de su red \4: se puede configurar, pero su página web no se alcanza desde aquí)~"},
    {R"~(no device answered on any (adapter|interface))~",
     R"~(ningún dispositivo respondió en ninguna red)~"},
    // What the checks read on Linux.
    {R"~(998 can be bound on (.+) \(as root\))~", R"~(998 se puede enlazar en \1 (como root))~"},
    {R"~(998 can be bound on (.+) \(with cap_net_bind_service\))~",
     R"~(998 se puede enlazar en \1 (con cap_net_bind_service))~"},
    {R"~(998 can be bound on (.+) \(ports from (-?\d+) up being free to all\))~",
     R"~(998 se puede enlazar en \1 (los puertos desde \2 están libres para todos))~"},
    {R"~(998 is held by another program, which this user may not see)~",
     R"~(998 lo tiene otro programa, que este usuario no puede ver)~"},
    {R"~(998 cannot be bound: (.+))~", R"~(998 no se puede enlazar: \1)~"},
    {R"~(binding port 998 is refused: this user \(uid (\d+)\) is not root, the program lacks cap_net_bind_service, and net\.ipv4\.ip_unprivileged_port_start is (-?\d+))~",
     R"~(se rechaza enlazar el puerto 998: este usuario (uid \1) no es root, el programa no tiene cap_net_bind_service y net.ipv4.ip_unprivileged_port_start vale \2)~"},
    {R"~((\S+) tunnel, (.+): broadcasts do not cross it, so devices behind it cannot be found)~",
     R"~(túnel \1, \2: los broadcasts no lo cruzan, así que no se encuentran los dispositivos detrás de él)~"},
    {R"~(up, (.+), but without broadcast: devices there cannot be found)~",
     R"~(activa, \1, pero sin broadcast: no se encuentran dispositivos en ella)~"},
    {R"~(up, (.+), but without a link \(cable, radio\))~",
     R"~(activa, \1, pero sin enlace (cable, radio))~"},
    {R"~((\d+) in effect \(all (\d+), (\S+) (\d+)\): (\d+) answer\(s\) dropped during the query, from addresses that would not be routed back through (\S+): devices configured for another subnet)~",
     R"~(\1 en vigor (all \2, \3 \4): \5 respuesta(s) descartadas durante la consulta, de direcciones que no se enrutarían de vuelta por \6: dispositivos configurados para otra subred)~"},
    {R"~((\d+) in effect \(all (\d+), (\S+) (\d+)\): strict; answers from a device configured for another subnet would be dropped)~",
     R"~(\1 en vigor (all \2, \3 \4): estricto; se descartarían las respuestas de un dispositivo configurado para otra subred)~"},
    {R"~((\d+) in effect \(all (\d+), (\S+) (\d+)\): off)~",
     R"~(\1 en vigor (all \2, \3 \4): desactivado)~"},
    {R"~((\d+) in effect \(all (\d+), (\S+) (\d+)\): loose)~",
     R"~(\1 en vigor (all \2, \3 \4): flexible)~"},
    {R"~(chain (.+) drops by its policy, and no rule lets UDP port 998 in)~",
     R"~(la cadena \1 descarta por su política, y ninguna regla deja entrar el puerto UDP 998)~"},
    {R"~(the rule with handle (\S+) in chain (\S+) drops UDP port 998(.*))~",
     R"~(la regla con handle \1 de la cadena \2 descarta el puerto UDP 998\3)~"},
    {R"~(the rules cannot be read: (.*))~", R"~(no se pueden leer las reglas: \1)~"},
    {R"~(neither nft nor iptables-legacy-save is here to read the rules)~",
     R"~(no hay nft ni iptables-legacy-save para leer las reglas)~"},
    {R"~(no (\S+) or (\S+) rule drops UDP port 998 \(ufw is active\))~",
     R"~(ninguna regla de \1 ni de \2 descarta el puerto UDP 998 (ufw está activo))~"},
    {R"~(no (\S+) or (\S+) rule drops UDP port 998)~",
     R"~(ninguna regla de \1 ni de \2 descarta el puerto UDP 998)~"},
    {R"~(no (.+) rule drops UDP port 998 \(ufw is active\))~",
     R"~(ninguna regla de \1 descarta el puerto UDP 998 (ufw está activo))~"},
    {R"~(no (.+) rule drops UDP port 998)~", R"~(ninguna regla de \1 descarta el puerto UDP 998)~"},
    {R"~(cannot listen on port 998 \((.+)\); see the port check)~",
     R"~(no se puede escuchar en el puerto 998 (\1); vea la comprobación del puerto)~"},
    {R"~((\d+) device\(s\) answered; answers by unicast (\d+), by directed broadcast (\d+), by limited broadcast (\d+))~",
     R"~(\1 dispositivo(s) respondieron; respuestas por unicast \2, por broadcast dirigido \3, por broadcast limitado \4)~"},
    {R"~(the program holds no binding on (\S+))~", R"~(el programa no tiene ningún enlace en \1)~"},
    {R"~(up, (.+))~", R"~(activa, \1)~"},
};

}  // namespace

QString InSpanish(const QString& english) {
  for (const auto& [from, to] : Translations) {
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(QString::fromUtf8(from)));
    const QRegularExpressionMatch match = pattern.match(english);
    if (!match.hasMatch()) {
      continue;
    }
    QString spanish = QString::fromUtf8(to);
    for (int i = pattern.captureCount(); i >= 1; --i) {
      spanish.replace(QStringLiteral("\\%1").arg(i), match.captured(i));
    }
    return spanish;
  }
  return english;
}

}  // namespace tb::diagnosis
