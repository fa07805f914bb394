// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tb::cli {

// One device of a batch file, as written there.
struct BatchEntry {
  int line = 0;
  QString mac;
  bool dhcp = false;
  QString ip;
  QString netmask;
  QString gateway;
  QString hostName;                 // empty: the device's own
  std::optional<QString> password;  // absent: the password given for the whole batch
};

struct BatchFile {
  std::vector<BatchEntry> entries;
  QStringList errors;  // "line N: ...", in file order
};

// Lines of MAC,ADDRESS,NETMASK,GATEWAY,HOSTNAME[,PASSWORD] in CSV (RFC 4180
// quoting, one line per record). ADDRESS "dhcp" in any letter case, with
// NETMASK and GATEWAY empty, asks for DHCP. Blank lines, lines whose first
// character is '#' and a first record whose first field starts with "mac"
// are skipped. Fields are trimmed of blanks; a quoted field keeps those
// within its quotes. Carriage returns are no part of any value. An empty
// PASSWORD counts as none. A MAC listed twice, in any notation, is an error.
BatchFile ParseBatch(const QString& text);

}  // namespace tb::cli
