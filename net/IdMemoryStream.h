// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "common/AnsiString.h"

namespace tb {

// The receive buffer handed to OnUDPRead: the datagram's bytes, positioned at 0.
// It holds the next datagram once the handler returns, so a handler must copy
// what it keeps.
class TIdMemoryStream {
 public:
  std::size_t Size() const { return data_.size(); }
  std::size_t Position() const { return position_; }
  const char* Memory() const { return data_.data(); }
  char* Memory() { return data_.data(); }
  AnsiString DataString() const { return {data_.begin(), data_.end()}; }

  // Shrinking keeps the storage, so sizing to the full buffer before each
  // receive allocates only once.
  void SetSize(std::size_t size) {
    data_.resize(size);
    position_ = std::min(position_, size);
  }
  void SetPosition(std::size_t position) { position_ = std::min(position, data_.size()); }
  // Takes over `bytes` as its content, positioned at 0, rather than copying them.
  void Adopt(std::vector<char>&& bytes) {
    data_ = std::move(bytes);
    position_ = 0;
  }

  // Copies up to `count` bytes from the position on and advances it.
  std::size_t Read(char* buffer, std::size_t count);

 private:
  std::vector<char> data_;
  std::size_t position_ = 0;
};

}  // namespace tb
