#include "Help.h"

namespace tb::cli {

namespace {

const char* const Intro = R"~(Usage: brelvan COMMAND [OPTION]...
  or:  brelvan --help | --version
Find, list and configure Tarnwick IP network devices from the command line.

Each command talks to the devices as the Tarnwick Brelvan program does, with
the same code: a query "HELLO()" broadcast on UDP port 998 to every local
network and to 255.255.255.255, then a 500 ms window for the answers; a
configuration request broadcast the same way, then a 1000 ms window for the
device's ACK or NAK. Nothing is retried. No display is needed. Port 998 is
privileged: run as root, or give the program the capability
cap_net_bind_service (the Debian package does).
)~";

const char* const DiscoverHelp = R"~(
Usage: brelvan discover [--timeout MS] [--json | --csv]
  Query every local network and list the devices that answered, as the
  program's list holds them: one row per MAC (its first answer), sorted by
  the Dispositivo column, with the list's columns, then the local address the
  answer came in on and whether the device's address lies in that network.
  A device on a foreign subnet answers and can be configured, but its web
  page cannot be reached from this computer.
      --timeout MS     listen MS milliseconds for answers (default 500)
      --json           print a JSON array of devices
      --csv            print CSV, with a header line
)~";

const char* const ConfigureHelp = R"~(
Usage: brelvan configure MAC (--dhcp | --ip ADDRESS --netmask MASK
                             --gateway ADDRESS) [--hostname NAME]
                             [--password-file FILE] [--timeout MS] [--dry-run]
  Query, then send the device with this MAC the request that the program's
  properties dialog would send, after the same checks with the same
  messages, and report its answer. MAC is the device's own text, or any
  spelling of it (letter case, separators) that matches one device only. A
  device that takes a host name keeps its own unless --hostname is given.
      --dhcp             let the device take its address by DHCP
      --ip ADDRESS       its new IP address; with --netmask and --gateway
      --netmask MASK     its new netmask
      --gateway ADDRESS  its new gateway; 0.0.0.0 for none
      --hostname NAME    its new host name, at most 15 characters
      --password-file FILE
                         read the device password from the first line of FILE
      --password PASSWORD
                         the device password; other users can read it: avoid
      --timeout MS       listen MS milliseconds to the query (default 500)
      --dry-run          show the request, password masked, and send nothing

Usage: brelvan configure --batch FILE [--password-file FILE] [--timeout MS]
                         [--dry-run]
  Configure the devices listed in the CSV file FILE, one request at a time,
  with a progress line each and a summary table at the end. One device per
  line:
      MAC,ADDRESS,NETMASK,GATEWAY,HOSTNAME,PASSWORD
  ADDRESS "dhcp", with NETMASK and GATEWAY empty, switches the device to
  DHCP. An empty HOSTNAME keeps the device's own. A line without the
  PASSWORD field takes the password of --password-file, --password,
  BRELVAN_PASSWORD or the prompt, asked once. Blank lines, lines starting
  with "#" and a first line starting with "mac" are skipped. Every line is
  checked before anything is sent.
      --batch FILE       the CSV file
)~";

const char* const OpenHelp = R"~(
Usage: brelvan open MAC [--timeout MS]
  Query, then open the device's web page, "http:\\" and its IP address, in
  the default browser, as the program's Configuración command does; the
  address opened is printed.
      --timeout MS       listen MS milliseconds to the query (default 500)
)~";

const char* const DoctorHelp = R"~(
Usage: brelvan doctor [--json] [--timeout MS]
  Look for what keeps devices from showing up, each check with its verdict
  (ok, note, skipped, problem) and the command that mends it: whether port
  998 can be bound on every local address, and who holds it; each network
  interface (up, address and prefix, broadcast address, tunnels, which
  broadcasts do not cross); the reverse-path filter in effect on each
  interface; firewall rules that drop UDP port 998 (nftables, iptables, ufw,
  firewalld); and a live query on each interface, its answers counted per
  route (unicast, directed and limited broadcast), with the devices on
  foreign subnets. Some checks need root. Linux only.
      --json             print the verdicts as a JSON object
      --timeout MS       listen MS milliseconds on each interface (default 500)
)~";

const char* const Closing = R"~(
Passwords:
  A device password is read from --password-file FILE, else from --password,
  else from the environment variable BRELVAN_PASSWORD, else it is asked for
  on the terminal without being shown.

Options of every command:
  -h, --help             show the help of the command and exit
  -V, --version          show the version and exit

Exit status:
  0  success: devices found, configuration acknowledged (ACK), page handed
     to the browser, no problem found
  1  doctor found a problem; a batch had a device that failed; no browser
     could be started
  2  the command line, an entry or a file was refused; nothing was sent
  3  no device answered the query, or none has the MAC given
  4  the device refused the configuration (NAK): wrong password
  5  the device did not answer the configuration within 1000 ms
  6  sending failed (port 998 busy or not allowed) and no device answered

Examples:
  brelvan discover
  brelvan discover --json | jq -r '.[] | select(.in_subnet | not) | .mac'
  brelvan configure 00:1A:2B:3C:4D:01 --ip 10.77.0.21 --netmask 255.255.255.0 \
          --gateway 10.77.0.1 --password-file pw.txt
  BRELVAN_PASSWORD=clave02 brelvan configure 00-1a-2b-3c-4d-02 --dhcp
  brelvan configure --batch site.csv --dry-run
  sudo brelvan doctor
)~";

}  // namespace

QString HelpText(const QString& command) {
  if (command == QLatin1String("discover")) {
    return QString::fromUtf8(DiscoverHelp).mid(1);
  }
  if (command == QLatin1String("configure")) {
    return QString::fromUtf8(ConfigureHelp).mid(1);
  }
  if (command == QLatin1String("open")) {
    return QString::fromUtf8(OpenHelp).mid(1);
  }
  if (command == QLatin1String("doctor")) {
    return QString::fromUtf8(DoctorHelp).mid(1);
  }
  return QString::fromUtf8(Intro) + QString::fromUtf8(DiscoverHelp) +
         QString::fromUtf8(ConfigureHelp) + QString::fromUtf8(OpenHelp) +
         QString::fromUtf8(DoctorHelp) + QString::fromUtf8(Closing);
}

QString VersionText() {
  return QStringLiteral("brelvan (Tarnwick Brelvan) " TB_VERSION
                        "\n"
                        "The command-line companion of the Tarnwick Brelvan program.\n");
}

}  // namespace tb::cli
