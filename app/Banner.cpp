// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Banner.h"

#include <QPixmap>
#include <cstddef>

#include "app/JpegDecoder.h"

// The resources live in a static library, so nothing registers them unless
// asked to; the macro must be used outside any namespace.
static void InitAppResources() { Q_INIT_RESOURCE(app); }

namespace tb {

extern const unsigned char BannerJpeg[];
extern const std::size_t BannerJpegSize;

QImage BannerImage() { return DecodeJpeg(BannerJpeg, BannerJpegSize); }

QIcon ProgramIcon() {
  static const bool initialised = (InitAppResources(), true);
  (void)initialised;
  return {QPixmap(":/brelvan/icon.png")};
}

}  // namespace tb
