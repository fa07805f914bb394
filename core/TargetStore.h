// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

#include "common/AnsiString.h"
#include "core/TargetList.h"

namespace tb {

// An entry of the saved list that could not be read, with why.
struct SkippedTarget {
  AnsiString text;
  TargetParse parse;
};

// The list of other networks, per user, shared by the window and brelvan:
// QSettings ("Tarnwick", "Brelvan"), group "Targets". The whole list is one
// value, so that a save replaces it at once: the ini file on Linux is written
// to a temporary file and renamed over the old one, and the registry on
// Windows writes a value whole; a crash or a full disk leaves the old list.
struct TargetStore {
  // The saved entries that can be read, each once, in their order; the
  // others go to `skipped`.
  static std::vector<TargetEntry> Load(std::vector<SkippedTarget>& skipped);
  // False when the settings could not be written; the saved list is then
  // the one before.
  static bool Save(const std::vector<TargetEntry>& entries);
  // Tests keep the list in this ini file instead, never in the user's
  // settings (the registry on Windows has no folder to point elsewhere).
  static void UseFile(const QString& iniPath);
  // The entries of a text as Save writes it (blank-separated); for tests.
  static std::vector<TargetEntry> Parse(const AnsiString& text,
                                        std::vector<SkippedTarget>& skipped);
};

}  // namespace tb
