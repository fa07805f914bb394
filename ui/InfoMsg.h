// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "common/AnsiString.h"

class QLabel;

namespace tb {

// The progress notice of the exchanges: a one-line text on top of every
// window, with no title-bar buttons, shown without making it modal.
class TInfoMessage : public QWidget {
  Q_OBJECT

 public:
  explicit TInfoMessage(QWidget* owner);

  // Shows MessageText; on screen before Show returns, also before the
  // program's event loop runs.
  void Show();
  // Hides the window for the next showing.
  void Close();

  QLabel* lblInfo = nullptr;
  AnsiString MessageText;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void FormActivate();
  void PaintNow();

  bool FPainting = false;
};

}  // namespace tb
