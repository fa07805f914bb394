// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Application.h"

#include <QEvent>
#include <QFont>
#include <QThread>
#include <exception>
#include <utility>

#include "common/Exception.h"
#include "common/ThreadSanitizerSync.h"
#include "net/PostedEvent.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"

namespace tb {

namespace {

// An error caught on another thread, carried to the GUI thread for its report.
class ReportEvent : public PostedEvent<ReportEvent> {
 public:
  explicit ReportEvent(AnsiString message) : FMessage(std::move(message)) {}

  [[nodiscard]] const AnsiString& Message() const { return FMessage; }

 private:
  AnsiString FMessage;
};

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Not the display name: on X11 Qt would append that to every window title.
  setApplicationName(QStringLiteral("Tarnwick Brelvan"));
  // Every window of the program, message boxes included, draws with the one
  // dialog face, not with whatever the platform's theme offers (under wine,
  // without Windows' own fonts, a serif face).
  setFont(DialogFont());
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const Exception& error) {
    ReportError(error.Message());
  } catch (const std::exception& error) {
    ReportError(error.what());
  }
  return true;
}

bool TApplication::event(QEvent* event) {
  MarkReceived(this);
  if (event->type() == ReportEvent::Kind()) {
    ShowErrorReport(activeWindow(), static_cast<ReportEvent*>(event)->Message());
    return true;
  }
  return QApplication::event(event);
}

void TApplication::ReportError(const AnsiString& message) {
  if (QThread::currentThread() != thread()) {
    // A message box belongs to the GUI thread.
    auto* report = new ReportEvent(message);
    MarkPosted(this);
    postEvent(this, report);
    return;
  }
  ShowErrorReport(activeWindow(), message);
}

}  // namespace tb
