// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include "common/AnsiString.h"

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

  // The general error report of `message`, shown on the GUI thread whichever
  // thread calls.
  void ReportError(const AnsiString& message);

 protected:
  bool event(QEvent* event) override;
};

}  // namespace tb
