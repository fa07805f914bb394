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
extern const unsigned char BannerJpeg2x[];
extern const std::size_t BannerJpeg2xSize;

QImage BannerImage(qreal devicePixelRatio) {
  // Qt's @2x rule does the same for pictures it decodes itself; this one is
  // decoded by libjpeg, so the choice is made here. At 1.25 or 1.5 the larger
  // picture scaled down is sharper than the smaller one scaled up.
  if (devicePixelRatio > 1.0) {
    QImage sharp = DecodeJpeg(BannerJpeg2x, BannerJpeg2xSize);
    if (!sharp.isNull()) {
      sharp.setDevicePixelRatio(2.0);
      return sharp;
    }
  }
  return DecodeJpeg(BannerJpeg, BannerJpegSize);
}

QIcon ProgramIcon() {
  static const bool initialised = (InitAppResources(), true);
  (void)initialised;
  return {QPixmap(":/brelvan/icon.png")};
}

}  // namespace tb
