#include "DialogFontFaces.h"

namespace tb {

// The classic dialog face the layout was drawn for, then its TrueType heir.
QStringList DialogFontFaces() {
  return {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
          QStringLiteral("Arial")};
}

}  // namespace tb
