// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <vector>

#include "core/TargetList.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tb {

// The saved list of other networks that every query also asks by unicast.
// Each change is saved at once, where brelvan reads it too.
class TfrmTargets : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmTargets(QWidget* owner = nullptr);

  // Reads the saved list afresh; an entry that cannot be read is dropped
  // with a message, and the list saved without it at the next change.
  void LoadList();
  const std::vector<TargetEntry>& Entries() const { return entries_; }

  QListWidget* lstTargets = nullptr;
  QLineEdit* edtTarget = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnRemove = nullptr;
  QPushButton* btnClose = nullptr;

 private:
  void btnAddClick();
  void btnRemoveClick();
  void ShowList();
  bool SaveList(const std::vector<TargetEntry>& entries);

  std::vector<TargetEntry> entries_;
};

}  // namespace tb
