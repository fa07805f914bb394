// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "common/AnsiString.h"

class QMessageBox;
class QWidget;

namespace tb {

// Every message box of the program goes through here, so that tests can
// answer them instead of blocking on a modal window.

struct MessageRecord {
  QString caption;
  QString text;  // as shown, line breaks as given
  bool errorIcon = false;
};

using MessageBoxHandler = std::function<void(const MessageRecord&)>;

// While a handler is installed it receives each message and no box is shown.
// An empty handler restores the real boxes. Returns the previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The box that shows record when no handler is installed, not yet shown.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRecord& record);

// One of the program's own messages: caption "Brelvan", no icon, one OK
// button; modal, returns when the user closes it. text is Latin-1 and may
// hold CR LF line breaks.
void ShowProgramMessage(QWidget* parent, const AnsiString& text);

// The report of an error that no handler caught: the message with the
// full-stop rule applied, caption "Tarnwick Brelvan", error icon, one OK button.
void ShowErrorReport(QWidget* parent, const AnsiString& message);

// The message as the error report shows it: a '.' is added when the last
// character's code is above that of '.'.
AnsiString ErrorReportText(const AnsiString& message);

}  // namespace tb
