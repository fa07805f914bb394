// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace tb {

// The 732 x 65 banner picture stored inside the program, decoded; a null
// image when the stored stream cannot be decoded. On a display scaled above
// 1 (`devicePixelRatio`), the picture drawn at twice the pixels, marked as
// such so that it still covers 732 x 65 of the window, unless it cannot be
// decoded.
QImage BannerImage(qreal devicePixelRatio = 1.0);

// The program's 32 x 32 icon.
QIcon ProgramIcon();

}  // namespace tb
