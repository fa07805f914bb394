// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DialogFontFaces.h"

namespace tb {

// Faces with Arial's metrics first (Liberation Sans is the one the package
// depends on), then faces near enough in width; DejaVu Sans, the common
// default, runs labels into their boxes and cuts the list's addresses.
QStringList DialogFontFaces() {
  return {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
          QStringLiteral("Arimo"),           QStringLiteral("Nimbus Sans"),
          QStringLiteral("Helvetica"),       QStringLiteral("DejaVu Sans")};
}

}  // namespace tb
