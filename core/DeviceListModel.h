// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <unordered_set>

#include "core/SortedRows.h"
#include "protocol/DeviceRow.h"

namespace tb {

// Rows of the device list, kept in caption order. The rows live only here:
// nothing else stores them.
class DeviceListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int ColumnCount = 8;
  // The most rows the list holds: the hosts of a /16. A flood of made-up
  // MACs must not grow it without end.
  static constexpr int MaxRows = 65536;

  explicit DeviceListModel(QObject* parent = nullptr);

  // Inserts the row at its caption position, after every row with an equal
  // caption. False, and no change, when a row with the same MAC text exists,
  // or when the list is full: then the row is counted in Unlisted.
  bool AddRow(DeviceRow row);
  // Rows of new MACs turned away since the list was last emptied.
  int Unlisted() const { return unlisted_; }
  void Clear();

  int Count() const { return rows_.Count(); }
  const DeviceRow& Row(int index) const { return rows_.At(index); }

  void SetColumnCaption(int column, const QString& caption);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  SortedRows rows_;
  std::unordered_set<AnsiString> macs_;
  QStringList captions_;
  int unlisted_ = 0;
};

}  // namespace tb
