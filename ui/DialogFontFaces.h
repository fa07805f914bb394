// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tb {

// The faces the dialog font is looked for in, best first: the layout was
// drawn for the 8-point face of Windows dialogs and fits only faces with its
// narrow, Arial-like widths. One file per platform.
QStringList DialogFontFaces();

}  // namespace tb
