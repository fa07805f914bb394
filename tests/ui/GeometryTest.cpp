// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "ui/About.h"
#include "ui/EditIPAddr.h"
#include "ui/InfoMsg.h"
#include "ui/Properties.h"

namespace tb {
namespace {

struct Place {
  const char* name;
  const QWidget* widget;
  int left;
  int top;
  int width;  // 0: sizes itself to its text
  int height;
};

void ExpectPlaces(const std::vector<Place>& places) {
  for (const Place& p : places) {
    SCOPED_TRACE(p.name);
    EXPECT_EQ(p.widget->pos(), QPoint(p.left, p.top));
    if (p.width != 0) {
      EXPECT_EQ(p.widget->size(), QSize(p.width, p.height));
    } else {
      EXPECT_GT(p.widget->width(), 0);
    }
  }
}

TEST(GeometryTest, PropertiesDialog) {
  const TfrmProperties d;
  EXPECT_EQ(d.size(), QSize(265, 328));
  EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "fixed size";
  ExpectPlaces({
      {"bvlInfo", d.bvlInfo, 8, 8, 249, 113},
      {"lblDevice", d.lblDevice, 24, 16, 0, 0},
      {"lblMAC", d.lblMAC, 24, 40, 0, 0},
      {"lblVersion", d.lblVersion, 24, 64, 0, 0},
      {"stDevice", d.stDevice, 112, 16, 137, 17},
      {"stMAC", d.stMAC, 112, 40, 137, 17},
      {"stVersion", d.stVersion, 112, 64, 137, 17},
      {"bvlConfigure", d.bvlConfigure, 8, 128, 249, 161},
      {"chkDHCP", d.chkDHCP, 24, 165, 113, 17},
      {"txtIP", d.txtIP, 128, 190, 100, 21},
      {"txtNetmask", d.txtNetmask, 128, 222, 100, 21},
      {"txtGateway", d.txtGateway, 128, 254, 100, 21},
      {"lblIP", d.lblIP, 48, 192, 0, 0},
      {"lblNetmask", d.lblNetmask, 48, 224, 0, 0},
      {"lblGateway", d.lblGateway, 48, 256, 0, 0},
      {"btnOk", d.btnOk, 104, 296, 75, 25},
      {"btnCancel", d.btnCancel, 184, 296, 75, 25},
      {"lblHostName", d.lblHostName, 24, 144, 0, 0},
      {"txtHostname", d.txtHostname, 127, 140, 100, 21},
      {"txtPassword", d.txtPassword, 112, 92, 137, 21},
      {"lblPassword", d.lblPassword, 24, 92, 0, 0},
  });
  for (const QLabel* st : {d.stDevice, d.stMAC, d.stVersion}) {
    EXPECT_EQ(st->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(st->alignment(), Qt::AlignCenter);
  }
  EXPECT_EQ(d.txtIP->minimumWidth(), 100);
  EXPECT_TRUE(d.btnOk->isDefault());
}

TEST(GeometryTest, AddressEditCellsAndDots) {
  const TEditIPAddr edit;
  EXPECT_EQ(edit.size(), QSize(100, 21));
  EXPECT_EQ(edit.minimumWidth(), 100);
  EXPECT_EQ(edit.Frame()->geometry(), edit.rect());
  const QPoint inside = edit.Frame()->contentsRect().topLeft();
  const int insideHeight = edit.Frame()->contentsRect().height();
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const QLineEdit* cell = edit.Cell(i);
    EXPECT_EQ(cell->geometry(), QRect(inside + QPoint(24 * i, 0), QSize(21, insideHeight)));
    EXPECT_EQ(cell->maxLength(), 3);
    EXPECT_EQ(cell->alignment(), Qt::AlignCenter);
    EXPECT_FALSE(cell->hasFrame());
    EXPECT_EQ(cell->focusPolicy(), i == 0 ? Qt::StrongFocus : Qt::ClickFocus) << "one tab stop";
  }
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(edit.Dot(i)->geometry(),
              QRect(inside + QPoint(21 + 24 * i, 0), QSize(3, insideHeight)));
    EXPECT_EQ(edit.Dot(i)->text(), QStringLiteral("."));
  }
  EXPECT_EQ(edit.Frame()->cursor().shape(), Qt::IBeamCursor);
  EXPECT_EQ(edit.focusPolicy(), Qt::NoFocus);
}

TEST(GeometryTest, InformationWindow) {
  QWidget owner;
  const TInfoMessage info(&owner);
  EXPECT_EQ(info.size(), QSize(320, 50));
  EXPECT_EQ(info.minimumSize(), info.maximumSize());
  EXPECT_EQ(info.lblInfo->pos(), QPoint(11, 16));
}

TEST(GeometryTest, AboutBoxCentresEveryLineAt91) {
  const TfrmAbout a;
  EXPECT_EQ(a.size(), QSize(183, 141));
  EXPECT_EQ(a.minimumSize(), a.maximumSize());
  const std::vector<std::pair<const QWidget*, int>> tops = {
      {a.lblName, 8},       {a.lblVersion, 24}, {a.lblSlogan, 48},
      {a.lblCopyright, 64}, {a.lblURL, 85},     {a.btnOk, 108},
  };
  for (const auto& [widget, top] : tops) {
    SCOPED_TRACE(widget->objectName().toStdString() + std::to_string(top));
    EXPECT_EQ(widget->y(), top);
    EXPECT_NEAR(widget->x() + widget->width() / 2.0, 91.0, 1.0);
    EXPECT_LE(widget->x() + widget->width(), 183) << "fits the box";
    EXPECT_GE(widget->x(), 0);
  }
  EXPECT_EQ(a.btnOk->geometry(), QRect(54, 108, 75, 25));
}

}  // namespace
}  // namespace tb
