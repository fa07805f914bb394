// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/IdComponent.h"

#include "net/IdStack.h"

namespace tb {

TIdBaseComponent::~TIdBaseComponent() = default;

TIdComponent::TIdComponent() { TIdStack::AddComponent(); }

TIdComponent::~TIdComponent() { TIdStack::RemoveComponent(); }

}  // namespace tb
