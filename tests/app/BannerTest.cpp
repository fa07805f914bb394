// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

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
