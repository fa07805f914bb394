// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ColumnWidths.h"

#include <QHeaderView>
#include <QSettings>
#include <QString>

namespace tb {

namespace {

const char* const ColumnsGroup = "Columns";

QSettings ProgramSettings() { return QSettings("Tarnwick", "Brelvan"); }

}  // namespace

int StoredColumnWidth(const QVariant& stored, int designWidth) {
  // A string is what an INI file gives back; toInt reads only a whole number
  // and says so.
  bool read = false;
  const int width = stored.toString().trimmed().toInt(&read);
  if (!read || width < NarrowestStoredColumn || width > WidestStoredColumn) {
    return designWidth;
  }
  return width;
}

std::vector<int> LoadColumnWidths(QSettings& settings, const std::vector<int>& designWidths) {
  std::vector<int> widths;
  widths.reserve(designWidths.size());
  settings.beginGroup(ColumnsGroup);
  for (std::size_t column = 0; column < designWidths.size(); ++column) {
    widths.push_back(
        StoredColumnWidth(settings.value(QString::number(column)), designWidths[column]));
  }
  settings.endGroup();
  return widths;
}

void RememberColumnWidths(QHeaderView* header, const std::vector<int>& designWidths) {
  QSettings settings = ProgramSettings();
  const std::vector<int> widths = LoadColumnWidths(settings, designWidths);
  for (std::size_t column = 0; column < widths.size(); ++column) {
    header->resizeSection(static_cast<int>(column), widths[column]);
  }
  // Connected after the widths are set, so only what the user drags is
  // written; a start never rewrites the file.
  QObject::connect(header, &QHeaderView::sectionResized, header,
                   [](int column, int /*oldWidth*/, int newWidth) {
                     QSettings stored = ProgramSettings();
                     stored.beginGroup(ColumnsGroup);
                     stored.setValue(QString::number(column), newWidth);
                     stored.endGroup();
                   });
}

}  // namespace tb
