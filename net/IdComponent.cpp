#include "IdComponent.h"

#include "IdStack.h"

namespace tb {

TIdBaseComponent::~TIdBaseComponent() = default;

TIdComponent::TIdComponent() { TIdStack::AddComponent(); }

TIdComponent::~TIdComponent() { TIdStack::RemoveComponent(); }

}  // namespace tb
