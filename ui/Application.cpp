#include "Application.h"

#include <QThread>
#include <exception>

#include "Exception.h"
#include "MessageBoxes.h"

namespace tb {

namespace {

void Report(const AnsiString& message) {
  if (QThread::currentThread() != qApp->thread()) {
    // A message box belongs to the GUI thread; report from there.
    QMetaObject::invokeMethod(
        qApp, [message] { ShowErrorReport(QApplication::activeWindow(), message); },
        Qt::QueuedConnection);
    return;
  }
  ShowErrorReport(QApplication::activeWindow(), message);
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // Not the display name: on X11 Qt would append that to every window title.
  setApplicationName(QStringLiteral("Tarnwick Brelvan"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const Exception& error) {
    Report(error.Message());
  } catch (const std::exception& error) {
    Report(error.what());
  }
  return true;
}

}  // namespace tb
