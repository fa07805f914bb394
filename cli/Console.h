#pragma once

#include <QString>

#include "AnsiString.h"

namespace tb::cli {

// The devices' texts and the program's own are Latin-1; a terminal, a pipe
// or a file takes the local 8-bit encoding. Every line out passes here.

// One line on standard output.
void Out(const QString& line);
// One line on standard error, after "brelvan: ".
void Err(const QString& line);
// A Latin-1 text as Qt holds it, for output.
QString Text(const AnsiString& latin1);
// A text from the command line, the environment or a file, as the 8-bit
// Latin-1 text that goes to a device; false when a character has no
// Latin-1 form.
bool ToLatin1(const QString& text, AnsiString& latin1);

}  // namespace tb::cli
