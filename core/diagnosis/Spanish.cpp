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
