// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogFontFaces.h"

namespace tb {

// The classic dialog face the layout was drawn for, then its TrueType heir;
// under wine, which need have none of Windows' own faces, the host's face
// with Arial's metrics.
QStringList DialogFontFaces() {
  return {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
          QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};
}

}  // namespace tb
