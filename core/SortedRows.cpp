// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SortedRows.h"

#include <algorithm>
#include <stdexcept>

#include "protocol/CaptionOrder.h"

namespace tb {

namespace {

// Many devices of one model share a caption: equal texts need no collation.
bool Before(const AnsiString& caption, const std::unique_ptr<DeviceRow>& row) {
  return caption != row->caption && CompareCaptions(caption, row->caption) < 0;
}

}  // namespace

SortedRows::Place SortedRows::PlaceOf(const AnsiString& caption) const {
  if (blocks_.empty()) {
    return {};
  }
  // The first block that holds a row sorting after the caption; every row of
  // the blocks before it sorts at or before it.
  std::size_t low = 0;
  std::size_t high = blocks_.size() - 1;
  while (low < high) {
    const std::size_t mid = (low + high) / 2;
    if (Before(caption, blocks_[mid].back())) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  const Block& block = blocks_[low];
  const auto offset = static_cast<std::size_t>(
      std::upper_bound(block.begin(), block.end(), caption, Before) - block.begin());
  return {low, offset, starts_[low] + static_cast<int>(offset)};
}

void SortedRows::Insert(const Place& place, DeviceRow row) {
  if (blocks_.empty()) {
    blocks_.emplace_back();
    starts_.push_back(0);
  }
  Block& block = blocks_[place.block];
  block.insert(block.begin() + static_cast<std::ptrdiff_t>(place.offset),
               std::make_unique<DeviceRow>(std::move(row)));
  ++count_;
  if (block.size() > MaxBlock) {
    Split(place.block);
  }
  Renumber(place.block + 1);
}

void SortedRows::Split(std::size_t b) {
  Block& full = blocks_[b];
  const auto half = full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2);
  Block upper(std::make_move_iterator(half), std::make_move_iterator(full.end()));
  full.erase(half, full.end());
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(b) + 1, std::move(upper));
  starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(b) + 1, 0);
}

void SortedRows::Renumber(std::size_t fromBlock) {
  for (std::size_t b = std::max<std::size_t>(fromBlock, 1); b < blocks_.size(); ++b) {
    starts_[b] = starts_[b - 1] + static_cast<int>(blocks_[b - 1].size());
  }
}

void SortedRows::Clear() {
  blocks_.clear();
  starts_.clear();
  count_ = 0;
}

const DeviceRow& SortedRows::At(int index) const {
  if (index < 0 || index >= count_) {
    throw std::out_of_range("device row index");
  }
  // The last block that starts at or before the index.
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), index);
  const auto b = static_cast<std::size_t>(after - starts_.begin()) - 1;
  return *blocks_[b][static_cast<std::size_t>(index - starts_[b])];
}

}  // namespace tb
