// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Diagnosis.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/diagnosis/Spanish.h"
#include "ui/ErrorGuard.h"

namespace tb {

namespace {

using diagnosis::Verdict;

QString LevelName(Verdict::Level level) {
  switch (level) {
    case Verdict::Level::Ok:
      return QStringLiteral("correcto");
    case Verdict::Level::Note:
      return QStringLiteral("nota");
    case Verdict::Level::Skipped:
      return QStringLiteral("omitido");
    case Verdict::Level::Problem:
      return QStringLiteral("problema");
  }
  return {};
}

QString CheckName(const QString& check) {
  static const std::pair<const char*, const char*> names[] = {
      {"port", "puerto"},    {"interface", "interfaz"},      {"firewall", "cortafuegos"},
      {"query", "consulta"}, {"doctor", "diagn\u00f3stico"},
  };
  for (const auto& [english, spanish] : names) {
    if (check == QLatin1String(english)) {
      return QString::fromUtf8(spanish);
    }
  }
  return check;
}

// A check skipped for want of rights names, as its mend, the doctor run
// with them.
bool NeedsRights(const Verdict& v) {
  return v.level == Verdict::Level::Skipped && v.mend.startsWith(QLatin1String("sudo "));
}

}  // namespace

QStringList DiagnosisReport(const std::vector<Verdict>& verdicts) {
  QStringList lines;
  for (const Verdict& v : verdicts) {
    const QString check = CheckName(v.check);
    const QString what = v.subject.isEmpty() ? check : check + QLatin1Char(' ') + v.subject;
    lines << QStringLiteral("[%1] %2: %3")
                 .arg(LevelName(v.level), what, diagnosis::InSpanish(v.detail));
    if (NeedsRights(v)) {
      lines << QString::fromUtf8("    necesita derechos de administrador: ejecute ") + v.mend;
    } else if (!v.mend.isEmpty()) {
      lines << QString::fromUtf8("    soluci\u00f3n: ") + diagnosis::InSpanish(v.mend);
    }
  }
  const auto problems = std::count_if(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
    return v.level == Verdict::Level::Problem;
  });
  const bool nothingRan = std::all_of(verdicts.begin(), verdicts.end(), [](const Verdict& v) {
    return v.level == Verdict::Level::Skipped;
  });
  lines << (problems != 0 ? QStringLiteral("Problemas encontrados: %1.").arg(problems)
            : nothingRan  ? QString::fromUtf8("No se pudo comprobar nada.")
                          : QString::fromUtf8("Todo en orden: ninguna comprobaci\u00f3n "
                                               "encontr\u00f3 un problema."));
  return lines;
}

TfrmDiagnosis::TfrmDiagnosis(Checks checks, QWidget* parent)
    : QDialog(parent), checks_(std::move(checks)) {
  setWindowTitle(QString::fromUtf8("Diagn\u00f3stico"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  resize(640, 360);
  memReport = new QPlainTextEdit(this);
  memReport->setReadOnly(true);
  memReport->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  memReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  btnCopy = new QPushButton(QStringLiteral("&Copiar informe"), this);
  btnClose = new QPushButton(QStringLiteral("C&errar"), this);
  btnClose->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnCopy);
  buttons->addStretch();
  buttons->addWidget(btnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(memReport);
  layout->addLayout(buttons);
  connect(btnCopy, &QPushButton::clicked, this,
          Guarded([this] { QApplication::clipboard()->setText(ReportText()); }));
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
  runner_.setSingleShot(true);
  connect(&runner_, &QTimer::timeout, this, Guarded([this] { RunChecks(); }));
}

void TfrmDiagnosis::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Shown again while its checks still run: it stays open after them.
  closeAfterRun_.reset();
  if (!ran_) {
    ran_ = true;
    memReport->setPlainText(QString::fromUtf8("Comprobando... (unos segundos)"));
    // Once the dialog is drawn: the checks take seconds.
    runner_.start(0);
  }
}

void TfrmDiagnosis::RunChecks() {
  ran_ = true;
  running_ = true;
  btnCopy->setEnabled(false);
  verdicts_ = checks_();
  running_ = false;
  memReport->setPlainText(ReportText());
  btnCopy->setEnabled(true);
  if (closeAfterRun_) {
    QDialog::done(*std::exchange(closeAfterRun_, std::nullopt));
  }
}

// The checks spin event loops of their own (the window's live query), with
// this dialog and its checks on the stack. A close asked for meanwhile hides
// it at once; the close itself, and with it the deletion, waits for them.
void TfrmDiagnosis::done(int result) {
  if (running_) {
    closeAfterRun_ = result;
    hide();
    return;
  }
  QDialog::done(result);
}

void TfrmDiagnosis::closeEvent(QCloseEvent* event) {
  if (running_) {
    done(Rejected);
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

QString TfrmDiagnosis::ReportText() const {
  return DiagnosisReport(verdicts_).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace tb
