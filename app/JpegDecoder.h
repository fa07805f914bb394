// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <cstddef>

namespace tb {

// Decodes a baseline JPEG stream with libjpeg. A stream that libjpeg refuses
// gives a null image instead of ending the program.
QImage DecodeJpeg(const unsigned char* data, std::size_t size);

}  // namespace tb
