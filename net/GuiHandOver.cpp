// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/GuiHandOver.h"

namespace tb {

// Both builds cancel alike: a step checks the state before it runs, however
// it reaches its thread.
void TGuiHandOver::Cancel() {
  const std::lock_guard<std::mutex> guard(state_->lock);
  state_->cancelled = true;
  ++state_->epoch;
}

void TGuiHandOver::Reset() {
  const std::lock_guard<std::mutex> guard(state_->lock);
  state_->cancelled = false;
}

}  // namespace tb
