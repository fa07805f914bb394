// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/AnsiString.h"

class QUrl;

namespace tb {

// The URL that the desktop is asked to open for a shell text such as
// "http:\\192.168.0.5".
QUrl ShellTextToUrl(const AnsiString& text);

}  // namespace tb
