// SPDX-License-Identifier: GPL-3.0-or-later
// tb_app_probe: the program's start exactly as app/main.cpp does it, with
// reports on standard output for the lab tests and the benchmarks:
//   shown <ns>    monotonic time of the main window's first paint
//   startup <ns>  the same, counted from TB_SPAWN_NS when the parent set it
//   closing <ns>  monotonic time at which it closed the main window
//   box <text>    a message box that the program would have shown
// --close-after MS closes the main window through its Exit command MS
// milliseconds after its first paint (0: at once); without it the program
// runs until closed. Message boxes are reported, never shown: nobody is
// there to dismiss them.
// --diagnose DIR, once the start-up query has ended, keeps a picture of the
// main window (DIR/list.png), opens "Diagnóstico..." from the menu, reports
//   diagnosis <json>  the verdicts it shows, as `brelvan doctor --json` has them
// keeps its picture (DIR/diagnosis.png) and report (DIR/diagnosis.txt), and
// closes the program.
#include <QAction>
#include <QFile>
#include <QJsonDocument>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/MainWindow.h"
#include "core/diagnosis/Doctor.h"
#include "tests/support/FirstPaint.h"
#include "ui/About.h"
#include "ui/Application.h"
#include "ui/Diagnosis.h"
#include "ui/MessageBoxes.h"
#include "ui/Properties.h"

int main(int argc, char* argv[]) {
  int closeAfter = -1;
  QString diagnoseInto;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--close-after") == 0) {
      closeAfter = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--diagnose") == 0) {
      diagnoseInto = QString::fromLocal8Bit(argv[i + 1]);
    }
  }

  std::setlocale(LC_COLLATE, "");
  tb::TApplication application(argc, argv);
  tb::TApplication::setApplicationName("Tarnwick Brelvan");
  tb::SetMessageBoxHandler([](const tb::MessageRecord& box) {
    std::printf("box %s\n", box.text.toUtf8().constData());
    std::fflush(stdout);
  });

  tb::TfrmMain frmMain;
  tb::TfrmProperties frmProperties;
  tb::TfrmAbout frmAbout;
  frmMain.SetDialogs(&frmProperties, &frmAbout);

  QTimer closer;
  closer.setSingleShot(true);
  QObject::connect(&closer, &QTimer::timeout, &frmMain, [&] {
    std::printf("closing %lld\n", tb::lab::MonotonicNsNow());
    std::fflush(stdout);
    frmMain.ExitProgram();
  });
  QTimer diagnosis;
  diagnosis.setInterval(20);
  QObject::connect(&diagnosis, &QTimer::timeout, &frmMain, [&] {
    if (frmMain.FExchangeMode() != tb::ExchangeMode::Idle) {
      return;
    }
    tb::TfrmDiagnosis* window = frmMain.DiagnosisWindow();
    if (window == nullptr) {
      frmMain.grab().save(diagnoseInto + QStringLiteral("/list.png"));
      frmMain.mnuActionDiagnosis->trigger();
      return;
    }
    if (window->Verdicts().empty()) {
      return;
    }
    diagnosis.stop();
    std::printf(
        "diagnosis %s\n",
        tb::diagnosis::JsonReport(window->Verdicts()).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
    window->grab().save(diagnoseInto + QStringLiteral("/diagnosis.png"));
    QFile report(diagnoseInto + QStringLiteral("/diagnosis.txt"));
    if (report.open(QIODevice::WriteOnly)) {
      report.write(window->ReportText().toUtf8());
    }
    window->close();
    frmMain.ExitProgram();
  });
  tb::lab::FirstPaint firstPaint(frmMain, [&] {
    if (closeAfter >= 0) {
      closer.start(closeAfter);
    }
    if (!diagnoseInto.isEmpty()) {
      diagnosis.start();
    }
  });

  frmMain.show();
  return tb::TApplication::exec();
}
