// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>

namespace tb {

// The 732 x 65 banner picture stored inside the program, decoded; a null
// image when the stored stream cannot be decoded.
QImage BannerImage();

// The program's 32 x 32 icon.
QIcon ProgramIcon();

}  // namespace tb
