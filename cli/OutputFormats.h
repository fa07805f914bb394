// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QString>

namespace tb::cli {

// What scripts and spreadsheets read, written so that no device's bytes can
// break the format or be taken for more than text.

// The document as JSON text, indented. Every control character in a string,
// DEL and the C1 range included, is written \u00XX: a device's name can
// neither break the document nor drive the terminal it is shown on.
QString JsonText(const QJsonDocument& document);

// One RFC 4180 field. A cell that a spreadsheet would take for a formula
// (starting with =, +, - or @) is prefixed with ', so that a device's name
// stays text.
QString CsvField(QString field);

}  // namespace tb::cli
