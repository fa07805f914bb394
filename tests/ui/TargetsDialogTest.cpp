// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/Latin1.h"
#include "core/TargetStore.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/TargetsDialog.h"

namespace tb {
namespace {

QStringList Shown(const TfrmTargets& dialog) {
  QStringList rows;
  for (int i = 0; i < dialog.lstTargets->count(); ++i) {
    rows << dialog.lstTargets->item(i)->text();
  }
  return rows;
}

// Each change is saved at once; refusals are the program's Spanish boxes and
// leave the list as it was; an entry that cannot be read is dropped with one.
TEST(TargetsDialog, AddsRefusesAndRemovesAndKeepsTheListSaved) {
  const QTemporaryDir dir;
  TargetStore::UseFile(dir.path() + QStringLiteral("/Brelvan.ini"));
  QFile file(dir.path() + QStringLiteral("/Brelvan.ini"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Targets]\nList=10.20.0.15 zz\n");
  file.close();

  TfrmTargets dialog;
  test::MessageCatcher catcher;
  dialog.LoadList();
  ASSERT_EQ(catcher.messages.size(), 1U);
  EXPECT_EQ(ToAnsi(catcher.messages[0].text),
            "Se omiti\xF3 una entrada guardada que no se puede leer.\r\n"
            "Direcci\xF3n o red no v\xE1lida: \"zz\". Escriba una direcci\xF3n IP (10.20.0.15) o "
            "una red (10.20.0.0/24).");
  EXPECT_EQ(dialog.edtTarget->placeholderText(),
            QString::fromUtf8("Dirección o red, por ejemplo 10.20.0.15 o 10.20.0.0/24"));
  EXPECT_EQ(dialog.btnAdd->text(), "&Agregar");
  EXPECT_EQ(dialog.btnRemove->text(), "&Quitar");
  EXPECT_EQ(dialog.btnClose->text(), "&Cerrar");

  const struct {
    const char* typed;
    const char* message;  // empty: taken
  } cases[] = {
      {"10.20.0.0/21",
       "Red demasiado grande: \"10.20.0.0/21\". Se admiten redes de hasta /22 (1022 "
       "direcciones)."},
      {"10.20.1.9/24", ""},
      {"10.20.0.15", ""},  // listed already: kept once
      {"10.20.0.256", "Direcci\xF3n o red no v\xE1lida"},
      {"10.20.1.0/33", "Red no v\xE1lida: \"10.20.1.0/33\"."},
  };
  for (const auto& c : cases) {
    catcher.messages.clear();
    dialog.edtTarget->setText(QString::fromLatin1(c.typed));
    dialog.btnAdd->click();
    if (c.message[0] == '\0') {
      EXPECT_TRUE(catcher.messages.empty()) << c.typed;
      EXPECT_TRUE(dialog.edtTarget->text().isEmpty()) << c.typed;
    } else {
      ASSERT_EQ(catcher.messages.size(), 1U) << c.typed;
      EXPECT_EQ(ToAnsi(catcher.messages[0].text).rfind(c.message, 0), 0U) << c.typed;
      EXPECT_EQ(catcher.messages[0].caption, "Brelvan");
    }
  }
  EXPECT_EQ(Shown(dialog), QStringList({"10.20.0.15", "10.20.1.0/24"}));
  std::vector<SkippedTarget> skipped;
  EXPECT_EQ(TargetStore::Load(skipped).size(), 2U);
  EXPECT_TRUE(skipped.empty()) << "the unreadable entry went with the first save";

  dialog.lstTargets->setCurrentRow(0);
  ASSERT_TRUE(dialog.btnRemove->isEnabled());
  dialog.btnRemove->click();
  EXPECT_EQ(Shown(dialog), QStringList({"10.20.1.0/24"}));
  EXPECT_EQ(TargetStore::Load(skipped).front().Text(), "10.20.1.0/24");
}

}  // namespace
}  // namespace tb
