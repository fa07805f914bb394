// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Exception.h"

namespace tb {

// Out of line so that the vtable lives in one translation unit.
Exception::~Exception() = default;

}  // namespace tb
