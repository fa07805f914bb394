// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: the least a Qt Widgets program
// does to put a window of the same size on screen, built like the program.
// Reports its first paint as tb_app_probe does and closes at once.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include "tests/support/FirstPaint.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setCentralWidget(new QLabel("Tarnwick Brelvan", &window));
  window.setFixedSize(744, 300);
  QTimer closer;
  closer.setSingleShot(true);
  QObject::connect(&closer, &QTimer::timeout, &window, &QWidget::close);
  tb::lab::FirstPaint firstPaint(window, [&] { closer.start(0); });
  window.show();
  return QApplication::exec();
}
