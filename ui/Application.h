#pragma once

#include <QApplication>

#include "AnsiString.h"

namespace tb {

// The program's application object. Qt lets no exception cross its event
// loop, so every event is dispatched here under a catch: an error that no
// handler caught becomes the general error report and the program goes on
// with the next event.
class TApplication : public QApplication {
  Q_OBJECT

 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;

 private:
  void Report(const AnsiString& message);
};

}  // namespace tb
