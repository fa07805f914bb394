// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "common/AnsiString.h"

namespace tb::diagnosis {

// An address (host order) as the verdicts write it.
QString Dotted(std::uint32_t address);

// One finding of `brelvan doctor`.
struct Verdict {
  enum class Level { Ok, Note, Skipped, Problem };

  QString check;    // "port", "interface", "rp_filter", "firewall", "query"
  QString subject;  // an address, an interface, a table ...; may be empty
  Level level = Level::Ok;
  QString detail;
  QString mend;      // the command that mends it; empty when there is none
  QJsonObject data;  // figures for scripts, in the JSON output only
};

// A device that answered a live query, and the local address of the
// binding it was heard on.
struct HeardAnswer {
  QString mac;
  QString caption;
  QString address;
  std::uint32_t heardOn = 0;
};

// A device's reply to a query, heard on the binding whose address is `heardOn`.
HeardAnswer HeardAnswerFrom(const AnsiString& reply, std::uint32_t heardOn);

// A query sent out of the interface whose address is `localAddress`, to
// `directedBroadcast` and to 255.255.255.255, and what answered within
// `windowMs`; nothing when it could not be sent.
using LiveQuery = std::function<std::optional<std::vector<HeardAnswer>>(
    std::uint32_t localAddress, std::uint32_t directedBroadcast, int windowMs)>;

// What the caller of the checks brings along. The window holds port 998
// itself: its own process is no stranger holding the port, and its live
// query goes through its endpoint, since no other socket can have the port.
struct Options {
  int windowMs = 500;  // the live query's window on each interface
  long long ownPid = 0;
  LiveQuery liveQuery;    // empty: a socket of the checks' own
  QString doctorProgram;  // the program whose "doctor" runs the checks with rights; empty: this one
};

// The checks this platform has, in the order they are reported; one file
// per platform.
std::vector<Verdict> RunChecks(const Options& options);
inline std::vector<Verdict> RunChecks(int windowMs) {
  Options options;
  options.windowMs = windowMs;
  return RunChecks(options);
}

int CountProblems(const std::vector<Verdict>& verdicts);
// The report's lines for a reader, or its one JSON document for scripts.
QStringList TextReport(const std::vector<Verdict>& verdicts);
QJsonDocument JsonReport(const std::vector<Verdict>& verdicts);

}  // namespace tb::diagnosis
