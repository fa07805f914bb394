// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ErrorGuard.h"

#include <QApplication>
#include <exception>

#include "common/Exception.h"
#include "ui/Application.h"
#include "ui/MessageBoxes.h"

namespace tb {

namespace {

void Report(const AnsiString& message) {
  if (auto* application = qobject_cast<TApplication*>(QCoreApplication::instance())) {
    application->ReportError(message);
  } else {
    ShowErrorReport(QApplication::activeWindow(), message);
  }
}

}  // namespace

void ReportHandledError() {
  try {
    throw;
  } catch (const Exception& error) {
    Report(error.Message());
  } catch (const std::exception& error) {
    Report(error.what());
  }
}

}  // namespace tb
