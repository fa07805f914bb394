// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

namespace tb::socketlayer {

// What makes interface `name` a tunnel, as InterfaceAddress::tunnel says;
// empty for an interface that carries broadcasts. Where the system says
// nothing of the link type, a point-to-point link is still one.
AnsiString TunnelKind(const AnsiString& name, bool pointToPoint);

}  // namespace tb::socketlayer
