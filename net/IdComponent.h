// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tb {

// Base of the non-visual components.
class TIdBaseComponent {
 public:
  TIdBaseComponent() = default;
  TIdBaseComponent(const TIdBaseComponent&) = delete;
  TIdBaseComponent& operator=(const TIdBaseComponent&) = delete;
  virtual ~TIdBaseComponent();
};

// A component that uses the socket layer: it keeps TIdStack alive while it exists.
class TIdComponent : public TIdBaseComponent {
 public:
  TIdComponent();
  ~TIdComponent() override;
};

}  // namespace tb
