// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>
#include <QTimer>

namespace tb {

// The report view of the device list: whole-row single selection, grid lines,
// no editing, a header that does nothing when clicked. Ctrl+C and Ctrl+X are
// left to the window's menu shortcuts instead of the view's clipboard copy.
class DeviceListView : public QTableView {
  Q_OBJECT

 public:
  // Longest time a newly added row waits to be drawn.
  static constexpr int HoldMs = 40;

  explicit DeviceListView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;

  // Number of selected rows (0 or 1).
  int SelCount() const;
  // Index of the selected row, or -1.
  int SelectedRow() const;

  // A line drawn in grey across the middle of the list while it has no
  // rows; an empty text draws nothing.
  void SetEmptyHint(const QString& text);
  const QString& EmptyHint() const { return emptyHint_; }
  bool EmptyHintShown() const;

 signals:
  // A double-click anywhere in the list, on a row or not.
  void DoubleClicked();

 protected:
  bool event(QEvent* event) override;
  void rowsInserted(const QModelIndex& parent, int start, int end) override;
  void updateGeometries() override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void initViewItemOption(QStyleOptionViewItem* option) const override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void EndHold();

  QTimer hold_;
  bool geometriesPending_ = false;
  QString emptyHint_;
};

}  // namespace tb
