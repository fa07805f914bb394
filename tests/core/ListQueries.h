// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include "common/AnsiString.h"
#include "core/DeviceListModel.h"

namespace tb::testing {

// The captions of the list, top to bottom.
inline std::vector<AnsiString> Captions(const DeviceListModel& model) {
  std::vector<AnsiString> captions;
  captions.reserve(static_cast<std::size_t>(model.Count()));
  for (int i = 0; i < model.Count(); ++i) {
    captions.push_back(model.Row(i).caption);
  }
  return captions;
}

// The row of the device with exactly this MAC text, or -1.
inline int RowOf(const DeviceListModel& model, const AnsiString& mac) {
  for (int i = 0; i < model.Count(); ++i) {
    if (model.Row(i).MAC() == mac) {
      return i;
    }
  }
  return -1;
}

}  // namespace tb::testing
