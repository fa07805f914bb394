// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>

namespace tb {

// Base of an event that carries something to the thread of the object it is
// posted to. Each derived class is a type of event of its own, registered
// with Qt the first time it is needed, so that its receiver tells it apart.
template <typename Derived>
class PostedEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }

 protected:
  PostedEvent() : QEvent(Kind()) {}
};

}  // namespace tb
