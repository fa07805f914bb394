// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Console.h"

#include <cstdio>

#include "core/Latin1.h"

namespace tb::cli {

namespace {

QString Escaped(const QString& text, bool keepLines) {
  QString shown;
  shown.reserve(text.size());
  for (const QChar c : text) {
    const char16_t code = c.unicode();
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (control && !(keepLines && code == '\n') && code != '\t') {
      shown += QStringLiteral("\\x%1").arg(static_cast<int>(code), 2, 16, QLatin1Char('0'));
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

void OutTable(const std::vector<QStringList>& rows) {
  std::vector<QStringList> shown;
  std::vector<qsizetype> widths;
  for (const QStringList& row : rows) {
    QStringList cells;
    for (qsizetype i = 0; i < row.size(); ++i) {
      cells << Escaped(row[i], false);
      widths.resize(std::max(widths.size(), static_cast<std::size_t>(i) + 1), 0);
      widths[i] = std::max(widths[i], cells.back().size());
    }
    shown.push_back(cells);
  }
  for (const QStringList& cells : shown) {
    QString line;
    for (qsizetype i = 0; i < cells.size(); ++i) {
      line += i + 1 < cells.size() ? cells[i].leftJustified(widths[i] + 2) : cells[i];
    }
    Out(line);
  }
}

void Out(const QString& line) {
  const QByteArray bytes = (Escaped(line, true) + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

void Err(const QString& line) {
  // Results go to standard output; this keeps progress and warnings apart
  // from them, in order with each other.
  std::fflush(stdout);
  const QByteArray bytes =
      (QStringLiteral("brelvan: ") + Escaped(line, false) + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

QString Printable(const QString& text) { return Escaped(text, false); }

QString Text(const AnsiString& latin1) { return FromAnsi(latin1); }

}  // namespace tb::cli
