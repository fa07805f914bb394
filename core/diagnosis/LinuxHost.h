// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "net/Ipv4Address.h"
#include "net/SocketLayer.h"

namespace tb::diagnosis::linux_host {

using Address = Ipv4;
using socketlayer::InterfaceAddress;

QString NameOf(const InterfaceAddress& entry);

// Every IPv4 address of every interface, in the system's order, as the
// endpoint lists them.
std::vector<InterfaceAddress> ListInterfaces();
// The addresses the endpoint binds, from its own listing; none when the
// system cannot be asked.
std::vector<AnsiString> HostAddresses();

// The trimmed text of a file, or nullopt when it cannot be read.
std::optional<QString> ReadText(const QString& path);
// A whole number from /proc/sys, or nullopt.
std::optional<int> ReadSysctl(const QString& path);

// Whether the main routing table has a default route.
bool HasDefaultRoute();

// Answers that the reverse-path filter has dropped since the system started.
std::optional<long long> ReversePathDrops();

// A program's output, run with a time limit; nullopt when it is not
// installed. `status` gets its exit status (-1 when it did not end).
std::optional<QString> RunTool(const QString& program, const QStringList& arguments, int& status);

// This program's own path, for commands that name it.
QString OwnPath();

}  // namespace tb::diagnosis::linux_host
