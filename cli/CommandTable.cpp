// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandTable.h"

#include <QStringList>

namespace tb::cli {

const char* const ProgramSummary = "find, list and configure Tarnwick IP network devices";

const std::vector<const char*>& ProgramSynopses() {
  static const std::vector<const char*> synopses{
      "brelvan COMMAND [OPTION]...", "brelvan help [COMMAND]", "brelvan --help | --version"};
  return synopses;
}

const char* const ProgramIntro =
    R"~(Find, list and configure Tarnwick IP network devices from the command line.

Each command talks to the devices as the Tarnwick Brelvan program does, with
the same code: a query "HELLO()" broadcast on UDP port 998 to every local
network and to 255.255.255.255, then a 500 ms window for the answers; a
configuration request broadcast the same way, then a 1000 ms window for the
device's ACK or NAK. Nothing is retried; --timeout MS, which every command
takes, sets the query's window instead. No display is needed. Port 998 is
privileged: run as root, or give the program the capability
cap_net_bind_service (the Debian package does).)~";

const char* const PasswordsText =
    R"~(A device password is taken from the first of these that gives one, in this
order: the first line of --password-file FILE; --password; the environment
variable BRELVAN_PASSWORD (set, even to nothing); a prompt on the terminal,
which does not show what is typed. When none gives one and the input is no
terminal, nothing is sent and the exit status is 2.)~";

const std::vector<CommandEntry>& CommandTable() {
  static const std::vector<CommandEntry> commands{
      {"discover",
       "list the devices that answer a query",
       {"brelvan discover [--timeout MS] [--target ADDR|CIDR]... [--json | --csv]"},
       R"~(Query every local network and list the devices that answered, as the
program's list holds them: one row per MAC (its first answer), sorted by the
Dispositivo column, with the list's columns, then the local address the
answer came in on and whether the device's address lies in that network. A
device on a foreign subnet answers and can be configured, but its web page
cannot be reached from this computer. The saved other networks ('brelvan
targets') and those of --target are asked by unicast too; the last column
tells the devices that answered from one of them.)~",
       {
           {"timeout", "MS", "listen MS milliseconds for answers (default 500)"},
           {"target", "ADDR|CIDR",
            "also ask this address, or every host of this network (at most /22), by unicast; "
            "repeatable"},
           {"json", nullptr, "print a JSON array of devices"},
           {"csv", nullptr, "print CSV, with a header line"},
       },
       nullptr},
      {"configure",
       "give devices new IP settings or DHCP, and a host name",
       {"brelvan configure MAC --dhcp [OPTION]...",
        "brelvan configure MAC --ip ADDRESS --netmask MASK --gateway ADDRESS [OPTION]...",
        "brelvan configure --batch FILE [OPTION]..."},
       R"~(Query, then send the device with this MAC the request that the program's
properties dialog would send, after the same checks with the same messages,
and report its answer. MAC is the device's own text, or any spelling of it
(letter case, separators) that matches one device only. A device that takes
a host name keeps its own unless --hostname is given.)~",
       {
           {"dhcp", nullptr, "let the device take its address by DHCP"},
           {"ip", "ADDRESS", "its new IP address, with --netmask and --gateway"},
           {"netmask", "MASK", "its new netmask"},
           {"gateway", "ADDRESS", "its new gateway; 0.0.0.0 for none"},
           {"hostname", "NAME", "its new host name, at most 15 characters"},
           {"password-file", FileValueName, "read the device password from the first line of FILE"},
           {"password", "PASSWORD", "the device password; other users can read it: avoid"},
           {"batch", FileValueName, "configure the devices that FILE lists, see below"},
           {"timeout", "MS", "listen MS milliseconds to the query (default 500)"},
           {"target", "ADDR|CIDR",
            "also ask this address, or every host of this network (at most /22), by unicast; "
            "repeatable"},
           {"dry-run", nullptr, "show the request, password masked, and send nothing"},
       },
       R"~(With --batch, the devices of the CSV file FILE are configured one request at
a time, with a progress line each and a summary table at the end. One device
per line:
  MAC,ADDRESS,NETMASK,GATEWAY,HOSTNAME,PASSWORD
ADDRESS "dhcp", with NETMASK and GATEWAY empty, switches the device to DHCP.
An empty HOSTNAME keeps the device's own. A line without the PASSWORD field
takes the password of --password-file, --password, BRELVAN_PASSWORD or the
prompt, asked once. Blank lines, lines starting with "#" and a first line
starting with "mac" are skipped. Every line is checked before anything is
sent.)~"},
      {"open",
       "open a device's web page",
       {"brelvan open MAC [--timeout MS] [--target ADDR|CIDR]..."},
       R"~(Query, then open the device's web page, "http://" and its IP address, in the
default browser, as the program's Configuración command does. The address is
printed first, so that it can be opened by hand where no browser can be
started (exit status 1).)~",
       {
           {"timeout", "MS", "listen MS milliseconds to the query (default 500)"},
           {"target", "ADDR|CIDR",
            "also ask this address, or every host of this network (at most /22), by unicast; "
            "repeatable"},
       },
       nullptr},
      {"doctor",
       "find out why no device shows up",
       {"brelvan doctor [--json] [--timeout MS] [--target ADDR|CIDR]..."},
       R"~(Look for what keeps devices from showing up, each check with its verdict
(ok, note, skipped, problem) and the command that mends it: whether port 998
can be bound on every local address, and who holds it; each network
interface (up, address and prefix, broadcast address, tunnels, which
broadcasts do not cross); the reverse-path filter in effect on each
interface; firewall rules that drop UDP port 998 (nftables, iptables, ufw,
firewalld); and a live query on each interface, its answers counted per
route (unicast, directed and limited broadcast), with the devices on foreign
subnets. Some checks need root. Linux only.)~",
       {
           {"json", nullptr, "print the verdicts as a JSON object"},
           {"timeout", "MS", "listen MS milliseconds on each interface (default 500)"},
           {"target", "ADDR|CIDR",
            "also ask this address, or every host of this network (at most /22), by unicast; "
            "repeatable"},
       },
       nullptr},
      {"targets",
       "list and edit the saved other networks",
       {"brelvan targets list", "brelvan targets add ENTRY", "brelvan targets remove ENTRY"},
       R"~(The other networks that every query also asks by unicast, besides its
broadcasts: devices behind a router, at the far end of a VPN, or outside the
virtual machine or container this runs in. ENTRY is an IPv4 address
(10.20.0.15) or a network in CIDR form up to /22 (10.20.0.0/24): its every
host and its directed broadcast are asked. The program's window keeps the
same list (Acción, Redes adicionales).)~",
       {},
       nullptr},
  };
  return commands;
}

const CommandEntry* FindCommand(const QString& name) {
  for (const CommandEntry& command : CommandTable()) {
    if (name == QLatin1String(command.name)) {
      return &command;
    }
  }
  return nullptr;
}

const std::vector<OptionEntry>& CommonOptions() {
  static const std::vector<OptionEntry> options{
      {"help", nullptr, "show the help of the command and exit", 'h'},
      {"version", nullptr, "show the version and exit", 'V'},
  };
  return options;
}

QString OptionLabel(const OptionEntry& option) {
  QString label = QStringLiteral("--") + QString::fromUtf8(option.name);
  if (option.shortName != 0) {
    label = QStringLiteral("-%1, ").arg(QLatin1Char(option.shortName)) + label;
  }
  if (option.valueName != nullptr) {
    label += QLatin1Char(' ') + QString::fromUtf8(option.valueName);
  }
  return label;
}

}  // namespace tb::cli
