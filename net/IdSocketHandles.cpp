// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdSocketHandles.h"

namespace tb {

TIdSocketHandle& TIdSocketHandles::Add() {
  items_.push_back(std::make_unique<TIdSocketHandle>(DefaultPort));
  return *items_.back();
}

}  // namespace tb
