// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/JpegDecoder.h"

// clang-format off
#include <cstdio>
#include <csetjmp>
#include <jpeglib.h>
// clang-format on

namespace tb {

namespace {

// libjpeg's default error handler ends the process; this one jumps back to
// the decoder so that a damaged picture only leaves the banner empty.
struct JumpingErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void JumpOnError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

// The libjpeg part, kept free of objects with destructors because longjmp
// skips them. Returns false when libjpeg reported an error.
bool DecodeInto(const unsigned char* data, std::size_t size, QImage* image) {
  jpeg_decompress_struct info{};
  JumpingErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = JumpOnError;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                  QImage::Format_RGB888);
  if (image->isNull()) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

QImage DecodeJpeg(const unsigned char* data, std::size_t size) {
  if (data == nullptr || size == 0) {
    return {};
  }
  QImage image;
  if (!DecodeInto(data, size, &image)) {
    return {};
  }
  return image;
}

}  // namespace tb
