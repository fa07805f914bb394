// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "common/AnsiString.h"
#include "core/ShellText.h"

class QWidget;

namespace tb {

// The platform shell's "open" of a text such as "http:\\192.168.0.5". The
// outcome is not reported: a missing browser is the desktop's business.
void ShellOpen(QWidget* parent, const AnsiString& text);

// While a handler is installed it receives the text and nothing is opened.
// An empty handler restores the real shell. Returns the previous handler.
using ShellOpenHandler = std::function<void(const AnsiString&)>;
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// The platform's half of ShellOpen, one file per platform.
void PlatformShellOpen(QWidget* parent, const AnsiString& text);

}  // namespace tb
