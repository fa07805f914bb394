// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ManualPage.h"

#include <QStringList>

#include "cli/CommandTable.h"
#include "cli/ExitCodes.h"
#include "cli/Passwords.h"

namespace tb::cli {

namespace {

const char* const Examples = R"~(brelvan discover
brelvan discover --timeout 2000
brelvan discover --json | jq -r '.[] | select(.in_subnet | not) | .mac'
brelvan configure 00:1A:2B:3C:4D:01 --ip 10.77.0.21 --netmask 255.255.255.0 \
        --gateway 10.77.0.1 --password-file pw.txt
BRELVAN_PASSWORD=clave02 brelvan configure 00-1a-2b-3c-4d-02 --dhcp
brelvan configure --batch site.csv --dry-run
brelvan open 00:1A:2B:3C:4D:05
brelvan help configure
sudo brelvan doctor)~";

// Roff reads a backslash as an escape and "-" as a hyphen it may break at;
// beyond ASCII a character goes by its code, so that no reader has to guess
// the page's encoding.
QString Escaped(const QString& text) {
  QString roff;
  for (const QChar c : text) {
    if (c == QLatin1Char('\\')) {
      roff += QStringLiteral("\\e");
    } else if (c == QLatin1Char('-')) {
      roff += QStringLiteral("\\-");
    } else if (c.unicode() > 0x7E) {
      roff += QStringLiteral("\\[u%1]").arg(
          QString::number(c.unicode(), 16).toUpper().rightJustified(4, QLatin1Char('0')));
    } else {
      roff += c;
    }
  }
  // A line that starts with a dot or a quote would be read as a request.
  if (roff.startsWith(QLatin1Char('.')) || roff.startsWith(QLatin1Char('\''))) {
    roff.prepend(QStringLiteral("\\&"));
  }
  return roff;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Lines kept as they are, each escaped.
QString Verbatim(const QStringList& lines) {
  QString roff = QStringLiteral(".nf\n");
  for (const QString& line : lines) {
    roff += Escaped(line) + QLatin1Char('\n');
  }
  return roff + QStringLiteral(".fi\n");
}

QString Verbatim(const std::vector<const char*>& lines) {
  QStringList texts;
  for (const char* line : lines) {
    texts << Utf8(line);
  }
  return Verbatim(texts);
}

// Paragraphs, blank lines between them, filled; an indented line stays as
// it is, on a line of its own.
QString Prose(const char* text) {
  QString roff;
  for (const QString& paragraph : Utf8(text).split(QStringLiteral("\n\n"))) {
    roff += QStringLiteral(".PP\n");
    for (const QString& line : paragraph.split(QLatin1Char('\n'))) {
      roff += line.startsWith(QLatin1Char(' ')) ? Verbatim(QStringList{line})
                                                : Escaped(line) + QLatin1Char('\n');
    }
  }
  return roff;
}

QString Heading(const char* request, const QString& title) {
  return QStringLiteral(".%1 \"%2\"\n").arg(QLatin1String(request), Escaped(title));
}

QString Item(const QString& tag, const QString& text) {
  return QStringLiteral(".TP\n") + tag + QLatin1Char('\n') + Escaped(text) + QLatin1Char('\n');
}

QString OptionItems(const std::vector<OptionEntry>& options) {
  QString roff;
  for (const OptionEntry& option : options) {
    QString tag = QStringLiteral("\\fB\\-\\-%1\\fR").arg(Escaped(Utf8(option.name)));
    if (option.shortName != 0) {
      tag = QStringLiteral("\\fB\\-%1\\fR, ").arg(QLatin1Char(option.shortName)) + tag;
    }
    if (option.valueName != nullptr) {
      tag += QStringLiteral(" \\fI%1\\fR").arg(Escaped(Utf8(option.valueName)));
    }
    roff += Item(tag, Utf8(option.description));
  }
  return roff;
}

}  // namespace

QString ManualPage() {
  QString roff = QStringLiteral(
      ".\\\" Made from brelvan's command table when brelvan is built.\n"
      ".TH BRELVAN 1 \"\" \"Tarnwick Brelvan " TB_VERSION
      "\" \"User Commands\"\n"
      // Names of options and variables must read as they are typed.
      ".nh\n");
  roff += Heading("SH", QStringLiteral("NAME")) + QStringLiteral("brelvan \\- ") +
          Escaped(Utf8(ProgramSummary)) + QLatin1Char('\n');
  roff += Heading("SH", QStringLiteral("SYNOPSIS")) + Verbatim(ProgramSynopses());
  roff += Heading("SH", QStringLiteral("DESCRIPTION")) + Prose(ProgramIntro);
  roff += Heading("SS", QStringLiteral("Commands"));
  for (const CommandEntry& command : CommandTable()) {
    roff +=
        Item(QStringLiteral("\\fB%1\\fR").arg(Escaped(Utf8(command.name))), Utf8(command.summary));
  }
  for (const CommandEntry& command : CommandTable()) {
    roff += Heading("SS", QStringLiteral("The %1 command").arg(Utf8(command.name))) +
            Verbatim(command.synopses) + Prose(command.description) + OptionItems(command.options);
    if (command.notes != nullptr) {
      roff += Prose(command.notes);
    }
  }
  roff += Heading("SS", QStringLiteral("Passwords")) + Prose(PasswordsText);
  roff += Heading("SS", QStringLiteral("Options of every command")) + OptionItems(CommonOptions());
  roff += Heading("SS", QStringLiteral("Exit status"));
  for (const ExitCodeEntry& entry : ExitCodeTable) {
    roff +=
        Item(QStringLiteral("\\fB%1\\fR").arg(static_cast<int>(entry.code)), Utf8(entry.meaning));
  }
  roff += Heading("SH", QStringLiteral("ENVIRONMENT")) +
          Item(QStringLiteral("\\fB%1\\fR").arg(Escaped(QLatin1String(PasswordVariable))),
               QStringLiteral("The device password, when neither --password-file nor "
                              "--password gives one."));
  roff +=
      Heading("SH", QStringLiteral("EXAMPLES")) + Verbatim(Utf8(Examples).split(QLatin1Char('\n')));
  roff += Heading("SH", QStringLiteral("SEE ALSO")) +
          QStringLiteral(
              "The program\n.B tarnwick\\-brelvan\n"
              "does the same in a window, one device at a time.\n");
  return roff;
}

}  // namespace tb::cli
