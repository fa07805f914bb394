// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

namespace tb::cli {

// Every command of brelvan with its options, each described once: the
// parsers, --help, the manual page and the bash completion are all made from
// here, so an option added here is parsed, documented and completed alike.
// Texts are UTF-8.

struct OptionEntry {
  const char* name;       // the long name, without "--"
  const char* valueName;  // nullptr for a flag
  const char* description;
  char shortName = 0;  // 'h' for -h; 0 for none
};

struct CommandEntry {
  const char* name;
  const char* summary;
  std::vector<const char*> synopses;
  const char* description;           // what the command does, before its options
  std::vector<OptionEntry> options;  // in the order --help lists them
  const char* notes;                 // after the options; nullptr for none
};

// The value an option takes whose completion is a file name.
inline constexpr char FileValueName[] = "FILE";

const std::vector<CommandEntry>& CommandTable();
// nullptr for a name that is no command.
const CommandEntry* FindCommand(const QString& name);
// The options that every command takes besides its own.
const std::vector<OptionEntry>& CommonOptions();

// The program as a whole, for its help and its manual page.
extern const char* const ProgramSummary;
const std::vector<const char*>& ProgramSynopses();
extern const char* const ProgramIntro;
extern const char* const PasswordsText;

// "--ip ADDRESS", or "-h, --help" for an option with a one-letter name.
QString OptionLabel(const OptionEntry& option);

}  // namespace tb::cli
