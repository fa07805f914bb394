// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/Banner.h"
#include "app/JpegDecoder.h"

namespace tb {

extern const unsigned char BannerJpeg[];
extern const std::size_t BannerJpegSize;

namespace {

TEST(Banner, StoredPictureDecodesAt732By65) {
  const QImage banner = BannerImage();
  ASSERT_FALSE(banner.isNull());
  EXPECT_EQ(banner.width(), 732);
  EXPECT_EQ(banner.height(), 65);
}

TEST(Banner, ScaledDisplaysGetTheSameDrawingAtTwiceThePixels) {
  const QImage plain = BannerImage(1.0);
  for (const qreal ratio : {1.25, 1.5, 2.0}) {
    const QImage sharp = BannerImage(ratio);
    ASSERT_EQ(sharp.size(), QSize(1464, 130)) << ratio;
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(732, 65));
  }
  // Halved, the large picture must be the small one, give or take the JPEG's
  // and the scaling's rounding (about 7 of 255 here): the words moved by 20
  // pixels give 16, the gradient alone 21.
  const QImage halved = BannerImage(2.0)
                            .scaled(732, 65, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .convertToFormat(QImage::Format_RGB888);
  long long difference = 0;
  for (int y = 0; y < 65; ++y) {
    for (int x = 0; x < 732; ++x) {
      const QRgb a = plain.pixel(x, y);
      const QRgb b = halved.pixel(x, y);
      difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b));
    }
  }
  EXPECT_LT(difference / (732LL * 65 * 3), 10);
}

TEST(Banner, DamagedStreamsGiveANullImageInsteadOfEndingTheProgram) {
  const std::vector<unsigned char> whole(BannerJpeg, BannerJpeg + BannerJpegSize);
  const std::vector<std::vector<unsigned char>> damaged{
      {},
      {0xFF, 0xD8},
      {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'},
      std::vector<unsigned char>(whole.begin(), whole.begin() + 20),
  };
  for (const auto& bytes : damaged) {
    EXPECT_TRUE(DecodeJpeg(bytes.data(), bytes.size()).isNull()) << bytes.size();
  }
  // A stream cut in its scan data still decodes (libjpeg pads it); it must
  // simply not crash.
  const auto cut = std::vector<unsigned char>(
      whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
  EXPECT_NO_FATAL_FAILURE(DecodeJpeg(cut.data(), cut.size()));
}

TEST(Banner, ProgramIconIs32By32) {
  const QIcon icon = ProgramIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_TRUE(icon.availableSizes().contains(QSize(32, 32)));
}

}  // namespace
}  // namespace tb
