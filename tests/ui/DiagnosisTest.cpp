// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Diagnosis.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace tb {
namespace {

using diagnosis::Verdict;

// What a user reads in the window, and the rights a skipped check asks for.
TEST(Diagnosis, ReportInSpanishWithMendsAndWhatNeedsRights) {
  struct Case {
    std::vector<Verdict> verdicts;
    QStringList lines;
  };
  const Case cases[] = {
      {{{"port", "10.77.0.1", Verdict::Level::Problem, "998 is held by x (pid 7)", "kill 7", {}},
        {"interface", "eth0", Verdict::Level::Ok, "up", "", {}}},
       {"[problema] puerto 10.77.0.1: 998 lo tiene x (pid 7)",
        QString::fromUtf8("    solución: kill 7"), "[correcto] interfaz eth0: up",
        "Problemas encontrados: 1."}},
      {{{"firewall", "", Verdict::Level::Skipped, "needs root", "sudo brelvan doctor", {}},
        {"query", "eth0", Verdict::Level::Note, "0 device(s)", "", {}}},
       {"[omitido] cortafuegos: needs root",
        "    necesita derechos de administrador: ejecute sudo brelvan doctor",
        "[nota] consulta eth0: 0 device(s)",
        QString::fromUtf8("Todo en orden: ninguna comprobación encontró un problema.")}},
      {{{"doctor", "", Verdict::Level::Skipped, "made for Linux", "", {}}},
       {QString::fromUtf8("[omitido] diagnóstico: made for Linux"), "No se pudo comprobar nada."}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DiagnosisReport(c.verdicts), c.lines);
  }
}

TEST(Diagnosis, RunsTheChecksOnceShownAndCopiesThePlainReport) {
  int runs = 0;
  TfrmDiagnosis window([&] {
    ++runs;
    return std::vector<Verdict>{{"query", "", Verdict::Level::Problem, "none", "", {}}};
  });
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Verdicts().empty(); }, 2000));
  EXPECT_EQ(runs, 1);
  QTest::mouseClick(window.btnCopy, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            "[problema] consulta: none\nProblemas encontrados: 1.\n");
  QTest::mouseClick(window.btnClose, Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
}

// The checks spin event loops of their own (the window's live query): a
// close asked for meanwhile hides the dialog at once, and deletes it only
// once the checks have returned, never under them.
TEST(Diagnosis, ClosedWhileTheChecksRunItHidesAndIsDeletedAfterThem) {
  QPointer<TfrmDiagnosis> window;
  const auto spin = [](const std::function<void()>& meanwhile) {
    QEventLoop loop;
    QTimer during;
    QTimer end;
    during.setSingleShot(true);
    end.setSingleShot(true);
    QObject::connect(&during, &QTimer::timeout, &loop, meanwhile);
    QObject::connect(&end, &QTimer::timeout, &loop, &QEventLoop::quit);
    during.start(10);
    end.start(50);
    loop.exec();
  };
  bool aliveAfterClose = false;
  window = new TfrmDiagnosis([&] {
    spin([&] { QTest::keyClick(window, Qt::Key_Escape); });
    spin([] {});
    aliveAfterClose = window != nullptr && !window->isVisible();
    return std::vector<Verdict>{};
  });
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window == nullptr; }, 5000));
  EXPECT_TRUE(aliveAfterClose);
}

}  // namespace
}  // namespace tb
