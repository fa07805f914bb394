// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/Console.h"
#include "cli/OutputFormats.h"

namespace tb::cli {
namespace {

// Device names as a hostile or careless device may send them.
TEST(OutputFormats, NoDeviceNameBreaksJsonCsvOrAPrompt) {
  const struct {
    QString name;
    QString csv;
    QString printable;
  } cases[] = {
      {QStringLiteral("Planta A"), QStringLiteral("Planta A"), QStringLiteral("Planta A")},
      {QString::fromUtf8("del\x7f"
                         "c1\xc2\x9b"
                         "2J"),
       QString::fromUtf8("del\x7f"
                         "c1\xc2\x9b"
                         "2J"),
       QStringLiteral("del\\x7fc1\\x9b2J")},
      {QStringLiteral("\x1b[2K\rpw of B"), QStringLiteral("\x1b[2K\rpw of B").prepend('"') + '"',
       QStringLiteral("\\x1b[2K\\x0dpw of B")},
      {QStringLiteral("a\nforged"), QStringLiteral("\"a\nforged\""),
       QStringLiteral("a\\x0aforged")},
      {QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("\"'=HYPERLINK(\"\"x\"\")\""),
       QStringLiteral("=HYPERLINK(\"x\")")},
      {QStringLiteral("+1"), QStringLiteral("'+1"), QStringLiteral("+1")},
      {QStringLiteral("-1"), QStringLiteral("'-1"), QStringLiteral("-1")},
      {QStringLiteral("@SUM"), QStringLiteral("'@SUM"), QStringLiteral("@SUM")},
      {QString(), QString(), QString()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsvField(c.name), c.csv) << c.name.toStdString();
    EXPECT_EQ(Printable(c.name), c.printable) << c.name.toStdString();

    const QString json = JsonText(QJsonDocument(QJsonArray{QJsonObject{{"name", c.name}}}));
    for (const QChar ch : json) {
      EXPECT_TRUE(ch == '\n' ||
                  (ch.unicode() >= 0x20 && (ch.unicode() < 0x7F || ch.unicode() > 0x9F)))
          << "raw control character in " << json.toStdString();
    }
    QJsonParseError error{};
    const QJsonDocument back = QJsonDocument::fromJson(json.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    EXPECT_EQ(back.array().at(0).toObject().value("name").toString(), c.name);
  }
}

}  // namespace
}  // namespace tb::cli
