// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdMemoryStream.h"

#include <algorithm>
#include <cstring>

namespace tb {

std::size_t TIdMemoryStream::Read(char* buffer, std::size_t count) {
  const std::size_t n = std::min(count, data_.size() - position_);
  if (n > 0) {
    std::memcpy(buffer, data_.data() + position_, n);
  }
  position_ += n;
  return n;
}

}  // namespace tb
