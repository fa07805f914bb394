// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include "net/IdSocketHandle.h"

namespace tb {

// The endpoint's ordered, owning collection of bindings.
class TIdSocketHandles {
 public:
  int DefaultPort = 0;

  // A new binding on any address and DefaultPort, appended at the end.
  TIdSocketHandle& Add();
  int Count() const { return static_cast<int>(items_.size()); }
  TIdSocketHandle& Items(int index) { return *items_.at(static_cast<std::size_t>(index)); }
  const TIdSocketHandle& Items(int index) const {
    return *items_.at(static_cast<std::size_t>(index));
  }

 private:
  std::vector<std::unique_ptr<TIdSocketHandle>> items_;
};

}  // namespace tb
