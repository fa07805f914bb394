// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageBoxes.h"

#include <QMessageBox>
#include <utility>

#include "core/Latin1.h"

namespace tb {

namespace {

MessageBoxHandler& Handler() {
  static MessageBoxHandler handler;
  return handler;
}

void Show(QWidget* parent, const MessageRecord& record) {
  if (Handler()) {
    Handler()(record);
    return;
  }
  MakeMessageBox(parent, record)->exec();
}

}  // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, const MessageRecord& record) {
  const QString text = QString(record.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  auto box =
      std::make_unique<QMessageBox>(record.errorIcon ? QMessageBox::Critical : QMessageBox::NoIcon,
                                    record.caption, text, QMessageBox::Ok, parent);
  // Device names and addresses come from the network: never read them as markup.
  box->setTextFormat(Qt::PlainText);
  // A screen reader announces an alert by its name and description; the
  // name is only the caption, so the text goes in the description.
  box->setAccessibleDescription(text);
  return box;
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

void ShowProgramMessage(QWidget* parent, const AnsiString& text) {
  Show(parent, {QStringLiteral("Brelvan"), FromAnsi(text), false});
}

AnsiString ErrorReportText(const AnsiString& message) {
  // Compared as unsigned bytes: a message ending in a Latin-1 letter gets
  // its full stop too.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    return message + '.';
  }
  return message;
}

void ShowErrorReport(QWidget* parent, const AnsiString& message) {
  Show(parent, {QStringLiteral("Tarnwick Brelvan"), FromAnsi(ErrorReportText(message)), true});
}

}  // namespace tb
