// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The window speaks Spanish; `brelvan doctor` and its JSON stay English.
namespace tb::diagnosis {

// A verdict's detail or mend in Spanish; a text the table does not know
// stays as it is, since an English hint beats none.
QString InSpanish(const QString& english);

}  // namespace tb::diagnosis
