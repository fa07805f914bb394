// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <vector>

#include "ui/MessageBoxes.h"

namespace tb::test {

// Records every message box while alive instead of showing it.
class MessageCatcher {
 public:
  MessageCatcher()
      : previous_(SetMessageBoxHandler(
            [this](const MessageRecord& record) { messages.push_back(record); })) {}
  ~MessageCatcher() { SetMessageBoxHandler(previous_); }
  MessageCatcher(const MessageCatcher&) = delete;
  MessageCatcher& operator=(const MessageCatcher&) = delete;

  std::vector<MessageRecord> messages;

 private:
  MessageBoxHandler previous_;
};

struct Stroke {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Key strokes for a text of digits, '.' and ' '.
inline std::vector<Stroke> Typed(const char* text) {
  std::vector<Stroke> strokes;
  for (const char* c = text; *c != '\0'; ++c) {
    // Qt's key codes for these characters are their Latin-1 codes.
    strokes.push_back({static_cast<Qt::Key>(*c >= 'a' && *c <= 'z' ? *c - 'a' + 'A' : *c)});
  }
  return strokes;
}

// Like the keyboard: each stroke goes to whatever widget has the focus then.
inline void Press(const std::vector<Stroke>& strokes) {
  for (const Stroke& stroke : strokes) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr) << "no widget has the focus";
    QTest::keyClick(target, stroke.key, stroke.modifiers);
  }
}

inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  Press(std::vector<Stroke>{{key, modifiers}});
}

// Shows the window, makes it the active one and delivers what showing posts.
inline void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  // The offscreen platform does not activate a window shown a second time.
  if (!QTest::qWaitForWindowActive(window) || !window->isActiveWindow()) {
    QApplication::setActiveWindow(window);
  }
  ASSERT_TRUE(window->isActiveWindow());
  QCoreApplication::processEvents();
}

// Types text as key strokes that carry it, also characters no key code names.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

}  // namespace tb::test
