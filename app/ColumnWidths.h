// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariant>
#include <vector>

class QHeaderView;
class QSettings;

namespace tb {

// The widths a stored value may give a column. Anything outside, or anything
// that is not a whole number, is what a damaged or foreign settings file
// leaves, and the column keeps the width the layout gives it.
constexpr int NarrowestStoredColumn = 1;
constexpr int WidestStoredColumn = 2000;

// The width a column takes from `stored`, or `designWidth` when it cannot be read.
int StoredColumnWidth(const QVariant& stored, int designWidth);

// The list's widths as the user left them, read from group "Columns" of
// `settings`, one key per column; `designWidths` for every column without a
// readable one.
std::vector<int> LoadColumnWidths(QSettings& settings, const std::vector<int>& designWidths);

// Gives `header` the stored widths and from then on writes every width the
// user drags to the program's own settings.
void RememberColumnWidths(QHeaderView* header, const std::vector<int>& designWidths);

}  // namespace tb
