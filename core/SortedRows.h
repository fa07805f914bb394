// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "protocol/DeviceRow.h"

namespace tb {

// The device rows in caption order, with the index of every row at hand.
// Held in blocks of a few hundred rows, so that an insert moves the pointers
// of one block instead of half the list: adding n rows costs about n log n,
// not n squared, however large the list grows.
class SortedRows {
 public:
  // Most rows in a block; a fuller block is split in two.
  static constexpr std::size_t MaxBlock = 512;

  // Where a row with this caption goes: after every row whose caption
  // compares equal or lower. Valid until the rows next change.
  struct Place {
    std::size_t block = 0;
    std::size_t offset = 0;
    int index = 0;
  };
  Place PlaceOf(const AnsiString& caption) const;
  void Insert(const Place& place, DeviceRow row);
  void Clear();

  int Count() const { return count_; }
  // index in [0, Count()).
  const DeviceRow& At(int index) const;

 private:
  using Block = std::vector<std::unique_ptr<DeviceRow>>;

  void Split(std::size_t block);
  void Renumber(std::size_t fromBlock);

  std::vector<Block> blocks_;
  std::vector<int> starts_;  // index of each block's first row
  int count_ = 0;
};

}  // namespace tb
