#include "Console.h"

#include <cstdio>

#include "Latin1.h"

namespace tb::cli {

void Out(const QString& line) {
  const QByteArray bytes = (line + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
}

void Err(const QString& line) {
  // Results go to standard output; this keeps progress and warnings apart
  // from them, in order with each other.
  std::fflush(stdout);
  const QByteArray bytes = (QStringLiteral("brelvan: ") + line + QLatin1Char('\n')).toLocal8Bit();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

QString Text(const AnsiString& latin1) { return FromAnsi(latin1); }

bool ToLatin1(const QString& text, AnsiString& latin1) {
  if (!IsLatin1(text)) {
    return false;
  }
  latin1 = ToAnsi(text);
  return true;
}

}  // namespace tb::cli
