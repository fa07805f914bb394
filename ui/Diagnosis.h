// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "core/diagnosis/Doctor.h"

class QPlainTextEdit;
class QPushButton;

namespace tb {

// The verdicts as the window's user reads them: in Spanish, one line each,
// its mend below it, and what to run with more rights for a skipped check.
QStringList DiagnosisReport(const std::vector<diagnosis::Verdict>& verdicts);

// Why no device answers: runs the checks when shown and lists their
// verdicts, which "Copiar informe" puts on the clipboard as plain text.
class TfrmDiagnosis : public QDialog {
  Q_OBJECT

 public:
  using Checks = std::function<std::vector<diagnosis::Verdict>()>;

  explicit TfrmDiagnosis(Checks checks, QWidget* parent = nullptr);

  // Runs the checks now and shows what they found.
  void RunChecks();
  const std::vector<diagnosis::Verdict>& Verdicts() const { return verdicts_; }
  QString ReportText() const;

  QPlainTextEdit* memReport = nullptr;
  QPushButton* btnCopy = nullptr;
  QPushButton* btnClose = nullptr;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Checks checks_;
  QTimer runner_;  // runs the checks once the dialog is drawn
  std::vector<diagnosis::Verdict> verdicts_;
  bool ran_ = false;
  bool running_ = false;
  std::optional<int> closeAfterRun_;  // a close asked for while the checks ran
};

}  // namespace tb
