// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TargetsDialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <algorithm>

#include "core/Latin1.h"
#include "core/TargetStore.h"
#include "ui/ErrorGuard.h"
#include "ui/FormStyle.h"
#include "ui/MessageBoxes.h"

namespace tb {

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 201;

const char* const kPlaceholder = "Direcci\xF3n o red, por ejemplo 10.20.0.15 o 10.20.0.0/24";
const char* const kNotSaved = "No se pudo guardar la lista de redes adicionales.";
const char* const kSkipped = "Se omiti\xF3 una entrada guardada que no se puede leer.\r\n";

QPushButton* MakeButton(QWidget* parent, const char* text, const QRect& geometry) {
  auto* button = new QPushButton(FromAnsi(text), parent);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

TfrmTargets::TfrmTargets(QWidget* owner) : QDialog(owner, DialogWindowFlags()) {
  setWindowTitle(FromAnsi("Redes adicionales"));
  ApplyFormStyle(this, kClientWidth, kClientHeight);

  edtTarget = new QLineEdit(this);
  edtTarget->setGeometry(8, 8, 296, 21);
  edtTarget->setPlaceholderText(FromAnsi(kPlaceholder));
  edtTarget->setMaxLength(18);
  btnAdd = MakeButton(this, "&Agregar", QRect(311, 6, 81, 25));
  lstTargets = new QListWidget(this);
  lstTargets->setGeometry(8, 36, 296, 157);
  btnRemove = MakeButton(this, "&Quitar", QRect(311, 38, 81, 25));
  btnClose = MakeButton(this, "&Cerrar", QRect(311, 168, 81, 25));
  btnAdd->setDefault(true);
  btnRemove->setEnabled(false);

  connect(btnAdd, &QPushButton::clicked, this, Guarded([this] { btnAddClick(); }));
  connect(btnRemove, &QPushButton::clicked, this, Guarded([this] { btnRemoveClick(); }));
  connect(btnClose, &QPushButton::clicked, this, Guarded([this] { accept(); }));
  connect(lstTargets, &QListWidget::currentRowChanged, this,
          [this](int row) { btnRemove->setEnabled(row >= 0); });
  CenterOnScreen(this);
}

void TfrmTargets::LoadList() {
  std::vector<SkippedTarget> skipped;
  entries_ = TargetStore::Load(skipped);
  ShowList();
  for (const SkippedTarget& entry : skipped) {
    ShowProgramMessage(this, kSkipped + TargetRefusalText(entry.text, entry.parse));
  }
}

void TfrmTargets::ShowList() {
  lstTargets->clear();
  for (const TargetEntry& entry : entries_) {
    lstTargets->addItem(FromAnsi(entry.Text()));
  }
  btnRemove->setEnabled(false);
}

bool TfrmTargets::SaveList(const std::vector<TargetEntry>& entries) {
  if (!TargetStore::Save(entries)) {
    ShowProgramMessage(this, kNotSaved);
    return false;
  }
  entries_ = entries;
  ShowList();
  return true;
}

void TfrmTargets::btnAddClick() {
  const AnsiString text = ToAnsi(edtTarget->text());
  const TargetParse parse = ParseTarget(IsLatin1(edtTarget->text()) ? text : AnsiString("?"));
  if (!parse.entry) {
    ShowProgramMessage(this, TargetRefusalText(text, parse));
    edtTarget->setFocus();
    return;
  }
  std::vector<TargetEntry> entries = entries_;
  if (std::find(entries.begin(), entries.end(), *parse.entry) == entries.end()) {
    entries.push_back(*parse.entry);
    if (!SaveList(entries)) {
      return;
    }
  }
  edtTarget->clear();
  edtTarget->setFocus();
}

void TfrmTargets::btnRemoveClick() {
  const int row = lstTargets->currentRow();
  if (row < 0 || row >= static_cast<int>(entries_.size())) {
    return;
  }
  std::vector<TargetEntry> entries = entries_;
  entries.erase(entries.begin() + row);
  SaveList(entries);
}

}  // namespace tb
