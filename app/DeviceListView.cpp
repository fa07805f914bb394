// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DeviceListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionViewItem>

namespace tb {

namespace {

bool IsWindowShortcut(const QKeyEvent* key) {
  return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut);
}

// Cells keep one pixel beside their text, as a report list's do, instead of
// the item views' three: a MAC in its longest notation then fits its column.
class ReportCellStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_FocusFrameHMargin) {
      return 0;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

DeviceListView::DeviceListView(QWidget* parent) : QTableView(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setTabKeyNavigation(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->setVisible(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(17);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setStretchLastSection(false);
  // Only the view's cells: its header and scroll bars keep the program's style.
  auto* cellStyle = new ReportCellStyle(QStyleFactory::create(style()->name()));
  cellStyle->setParent(this);
  setStyle(cellStyle);
  // Drawn with the inactive colours while the list has no focus, the
  // selected row shows no highlight then.
  QPalette colours = palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Base));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText, colours.color(QPalette::Text));
  setPalette(colours);

  hold_.setSingleShot(true);
  hold_.setInterval(HoldMs);
  connect(&hold_, &QTimer::timeout, this, [this] { EndHold(); });
}

void DeviceListView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  if (model != nullptr) {
    // Qt drops the selection of an emptied model without a word; deselecting
    // first reports it, so the controls that need a row follow the list.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { clearSelection(); });
  }
}

int DeviceListView::SelCount() const {
  return selectionModel() != nullptr ? static_cast<int>(selectionModel()->selectedRows().size())
                                     : 0;
}

int DeviceListView::SelectedRow() const {
  if (selectionModel() == nullptr) {
    return -1;
  }
  const auto rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void DeviceListView::SetEmptyHint(const QString& text) {
  emptyHint_ = text;
  viewport()->update();
}

bool DeviceListView::EmptyHintShown() const {
  return !emptyHint_.isEmpty() && model() != nullptr && model()->rowCount() == 0;
}

// Asked on each paint rather than cleared by the model's signals, so the
// first row that arrives takes the hint with it.
void DeviceListView::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (!EmptyHintShown()) {
    return;
  }
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  constexpr int Margin = 8;
  painter.drawText(viewport()->rect().adjusted(Margin, 0, -Margin, 0),
                   Qt::AlignCenter | Qt::TextWordWrap, emptyHint_);
}

bool DeviceListView::event(QEvent* event) {
  // Declining the override hands Ctrl+C and Ctrl+X to the window's actions.
  if (event->type() == QEvent::ShortcutOverride &&
      IsWindowShortcut(static_cast<QKeyEvent*>(event))) {
    event->ignore();
    return false;
  }
  return QTableView::event(event);
}

void DeviceListView::keyPressEvent(QKeyEvent* event) {
  if (IsWindowShortcut(event)) {
    event->ignore();
    return;
  }
  QTableView::keyPressEvent(event);
}

void DeviceListView::initViewItemOption(QStyleOptionViewItem* option) const {
  QTableView::initViewItemOption(option);
  if (!hasFocus()) {
    option->state &= ~QStyle::State_Active;
  }
}

void DeviceListView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  viewport()->update();
}

void DeviceListView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  viewport()->update();
}

// During a query, replies can add thousands of rows a second. Each row would
// lay out and repaint the list before the next datagram is taken, so drawing,
// not the network, would set the pace. Rows enter the model at once; only the
// view's layout and drawing are held back, and done once per HoldMs while
// rows keep coming.
void DeviceListView::rowsInserted(const QModelIndex& parent, int start, int end) {
  QTableView::rowsInserted(parent, start, end);
  if (!hold_.isActive()) {
    setUpdatesEnabled(false);
    hold_.start();
  }
}

void DeviceListView::updateGeometries() {
  if (hold_.isActive()) {
    geometriesPending_ = true;
    return;
  }
  QTableView::updateGeometries();
}

void DeviceListView::EndHold() {
  if (geometriesPending_) {
    geometriesPending_ = false;
    QTableView::updateGeometries();
  }
  setUpdatesEnabled(true);
  // Drawn now: a row arriving before a deferred repaint would start the next
  // hold first, and under a steady stream the list would never be drawn.
  repaint();
}

void DeviceListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  emit DoubleClicked();
}

}  // namespace tb
