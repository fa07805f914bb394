// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace tb {

// The program's name, version and maker. Shown modally; Enter, Esc, OK and
// the title bar's close button all hide it for the next showing.
class TfrmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmAbout(QWidget* owner = nullptr);

  QLabel* lblName = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblSlogan = nullptr;
  QLabel* lblURL = nullptr;
  QPushButton* btnOk = nullptr;

 private:
  void btnOkClick();
};

}  // namespace tb
