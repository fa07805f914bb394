// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OutputFormats.h"

namespace tb::cli {

QString JsonText(const QJsonDocument& document) {
  // The writer escapes what JSON requires (below 0x20) and leaves DEL and
  // C1 as they are: they can stand only inside a string, so escaping them
  // wherever they are touches only strings.
  const QString written = QString::fromUtf8(document.toJson(QJsonDocument::Indented)).trimmed();
  QString text;
  text.reserve(written.size());
  for (const QChar c : written) {
    const char16_t code = c.unicode();
    if (code >= 0x7F && code <= 0x9F) {
      text += QStringLiteral("\\u%1").arg(static_cast<int>(code), 4, 16, QLatin1Char('0'));
    } else {
      text += c;
    }
  }
  return text;
}

QString CsvField(QString field) {
  if (!field.isEmpty() && QStringLiteral("=+-@").contains(field.front())) {
    field.prepend(QLatin1Char('\''));
  }
  if (field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"')) ||
      field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))) {
    field.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
  }
  return field;
}

}  // namespace tb::cli
