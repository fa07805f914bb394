// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "common/AnsiString.h"

namespace tb::cli {

// The devices' texts and the program's own are Latin-1; a terminal, a pipe
// or a file takes the local 8-bit encoding. Every line out passes here.

// One line on standard output. Devices' texts may hold any byte: control
// characters go out as \xNN, so that no device can drive the terminal; line
// breaks are kept.
void Out(const QString& line);
// One line on standard error, after "brelvan: ": every control character,
// line breaks too, goes out as \xNN, so that a device's name cannot forge a
// line of its own.
void Err(const QString& line);
// Rows of cells on standard output, the first row the header, each column as
// wide as its widest cell. Control characters in a cell, line breaks too, go
// out as \xNN.
void OutTable(const std::vector<QStringList>& rows);
// The text with every control character, line breaks too, as \xNN.
QString Printable(const QString& text);
// A Latin-1 text as Qt holds it, for output.
QString Text(const AnsiString& latin1);

}  // namespace tb::cli
