// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/TunnelKindPosix.h"

#include <fstream>
#include <sstream>
#include <string>

namespace tb::socketlayer {

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream file(path);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

// WireGuard, or a link type of /sys/class/net/*/type that carries no
// broadcast (ARPHRD_NONE for tun and the like, IP-in-IP, IPv6 tunnels, SIT,
// GRE, PPP), or a point-to-point link.
AnsiString TunnelKind(const AnsiString& name, bool pointToPoint) {
  // A name with a slash would lead out of the folder; the system allows none.
  if (name.empty() || name.find('/') != AnsiString::npos) {
    return pointToPoint ? "point-to-point" : "";
  }
  const std::string sys = "/sys/class/net/" + name;
  if (ReadAll(sys + "/uevent").find("DEVTYPE=wireguard") != std::string::npos) {
    return "WireGuard";
  }
  int type = 1;
  std::istringstream(ReadAll(sys + "/type")) >> type;
  switch (type) {
    case 65534:
      return "tun";
    case 768:
      return "IP-in-IP";
    case 769:
      return "IPv6 tunnel";
    case 776:
      return "SIT";
    case 778:
    case 823:
      return "GRE";
    case 512:
      return "PPP";
    default:
      break;
  }
  return pointToPoint ? "point-to-point" : "";
}

}  // namespace tb::socketlayer
