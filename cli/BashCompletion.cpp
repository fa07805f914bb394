// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BashCompletion.h"

#include <QStringList>
#include <cstring>

#include "cli/CommandTable.h"

namespace tb::cli {

namespace {

// %1 the commands and "help" as a pattern, %2 the options that read a file,
// %3 the other options that take a value, %4 one case per command and one for
// "help", %5 the options of every command, %6 the commands and "help" as words.
const char* const Script =
    R"~(# bash completion for brelvan, made from its command table when brelvan is
# built. MACs are not offered: finding them would send a query on every Tab.
_brelvan() {
  local cur prev words cword
  _init_completion || return

  local command="" i
  for ((i = 1; i < cword; i++)); do
    case "${words[i]}" in
      %1)
        command="${words[i]}"
        break
        ;;
    esac
  done

  case "$prev" in
    %2)
      _filedir
      return
      ;;
    %3)
      return
      ;;
  esac

  local options
  case "$command" in
    "")
      options="%6"
      ;;
%4  esac
  mapfile -t COMPREPLY < <(compgen -W "$options %5" -- "$cur")
} &&
  complete -F _brelvan brelvan
)~";

QString LongName(const OptionEntry& option) {
  return QStringLiteral("--") + QString::fromUtf8(option.name);
}

}  // namespace

QString BashCompletion() {
  QStringList commands;
  QStringList fileOptions;
  QStringList valueOptions;
  QString cases;
  for (const CommandEntry& command : CommandTable()) {
    commands << QString::fromUtf8(command.name);
    QStringList options;
    for (const OptionEntry& option : command.options) {
      options << LongName(option);
      if (option.valueName == nullptr) {
        continue;
      }
      QStringList& takers =
          std::strcmp(option.valueName, FileValueName) == 0 ? fileOptions : valueOptions;
      if (!takers.contains(options.constLast())) {
        takers << options.constLast();
      }
    }
    cases += QStringLiteral("    %1) options=\"%2\" ;;\n")
                 .arg(commands.constLast(), options.join(QLatin1Char(' ')));
  }
  // "brelvan help COMMAND" is the program's help narrowed to one command.
  cases += QStringLiteral("    help) options=\"%1\" ;;\n").arg(commands.join(QLatin1Char(' ')));
  QStringList words = commands;
  words << QStringLiteral("help");
  QStringList common;
  for (const OptionEntry& option : CommonOptions()) {
    common << LongName(option);
  }
  return QString::fromUtf8(Script).arg(words.join(QStringLiteral(" | ")),
                                       fileOptions.join(QStringLiteral(" | ")),
                                       valueOptions.join(QStringLiteral(" | ")), cases,
                                       common.join(QLatin1Char(' ')), words.join(QLatin1Char(' ')));
}

}  // namespace tb::cli
