// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/DeviceListModel.h"

#include "core/Latin1.h"

namespace tb {

namespace {

constexpr Qt::Alignment ColumnAlignment[DeviceListModel::ColumnCount] = {
    Qt::AlignLeft,    Qt::AlignLeft,    Qt::AlignHCenter, Qt::AlignHCenter,
    Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignHCenter};

}  // namespace

DeviceListModel::DeviceListModel(QObject* parent)
    : QAbstractTableModel(parent), captions_{"Device", "Host",       "MAC",     "Version",
                                             "DHCP",   "IP Address", "Netmask", "Gateway"} {}

bool DeviceListModel::AddRow(DeviceRow row) {
  // The set answers the same question as a walk over every row's MAC text,
  // exactly and byte for byte, without making each reply cost O(n).
  if (macs_.contains(row.MAC())) {
    return false;
  }
  if (Count() >= MaxRows) {
    ++unlisted_;
    return false;
  }
  macs_.insert(row.MAC());
  const SortedRows::Place place = rows_.PlaceOf(row.caption);
  beginInsertRows(QModelIndex(), place.index, place.index);
  rows_.Insert(place, std::move(row));
  endInsertRows();
  return true;
}

void DeviceListModel::Clear() {
  beginResetModel();
  rows_.Clear();
  macs_.clear();
  unlisted_ = 0;
  endResetModel();
}

void DeviceListModel::SetColumnCaption(int column, const QString& caption) {
  captions_[column] = caption;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

int DeviceListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Count();
}

int DeviceListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= Count() || index.column() >= ColumnCount) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    const DeviceRow& row = Row(index.row());
    return FromAnsi(index.column() == 0 ? row.caption : row.subItems[index.column() - 1]);
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(ColumnAlignment[index.column()] | Qt::AlignVCenter);
  }
  return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
    return {};
  }
  if (role == Qt::DisplayRole) {
    return captions_[section];
  }
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(ColumnAlignment[section] | Qt::AlignVCenter);
  }
  return {};
}

Qt::ItemFlags DeviceListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) {
    return Qt::NoItemFlags;
  }
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace tb
