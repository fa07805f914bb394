// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <qnamespace.h>

class QFont;
class QWidget;

namespace tb {

// The look that every window of the program shares: the dialog font, the
// button-face background and a client area of fixed size.
void ApplyFormStyle(QWidget* form, int clientWidth, int clientHeight);

// The title bar of the program's dialogs: the caption and a close button,
// nothing to minimise or maximise them with.
Qt::WindowFlags DialogWindowFlags();

// The sans-serif face nearest to the classic 11-pixel dialog font.
QFont DialogFont();

// Centres the window on the screen it is on (the primary screen before it is shown).
void CenterOnScreen(QWidget* form);

}  // namespace tb
