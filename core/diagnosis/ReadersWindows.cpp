// SPDX-License-Identifier: GPL-3.0-or-later
#include "net/WinsockHeaders.h"
// clang-format off
#include <iphlpapi.h>
// clang-format on

#include <vector>

#include "core/diagnosis/WindowsReaders.h"
#include "protocol/Message.h"

namespace tb::diagnosis::windows_checks {

namespace {

// Asks a listing that says how much room it needs until it fits.
template <typename Call>
std::vector<unsigned char> Grown(Call call) {
  ULONG size = 16 * 1024;
  std::vector<unsigned char> buffer;
  for (int tries = 0; tries < 8; ++tries) {
    buffer.assign(size, 0);
    const ULONG status = call(buffer.data(), &size);
    if (status == NO_ERROR) {
      return buffer;
    }
    if (status != ERROR_BUFFER_OVERFLOW && status != ERROR_INSUFFICIENT_BUFFER) {
      break;
    }
  }
  return {};
}

QString ProcessName(DWORD pid) {
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) {
    return {};
  }
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  QString name;
  if (::QueryFullProcessImageNameW(process, 0, path, &size) != 0) {
    name = QString::fromWCharArray(path, static_cast<int>(size));
    name = name.mid(name.lastIndexOf(QLatin1Char('\\')) + 1);
  }
  ::CloseHandle(process);
  return name;
}

}  // namespace

std::vector<AdapterReading> ReadAdapters() {
  const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  const std::vector<unsigned char> buffer = Grown([&](unsigned char* data, ULONG* size) {
    return ::GetAdaptersAddresses(AF_INET, flags, nullptr,
                                  reinterpret_cast<IP_ADAPTER_ADDRESSES*>(data), size);
  });
  std::vector<AdapterReading> adapters;
  if (buffer.empty()) {
    return adapters;
  }
  for (auto* a = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); a != nullptr;
       a = a->Next) {
    AdapterReading adapter;
    adapter.name = QString::fromWCharArray(a->FriendlyName);
    adapter.description = QString::fromWCharArray(a->Description);
    adapter.type = a->IfType;
    adapter.up = a->OperStatus == IfOperStatusUp;
    adapter.mediaDisconnected =
        a->OperStatus == IfOperStatusDown || a->OperStatus == IfOperStatusLowerLayerDown;
    for (auto* u = a->FirstUnicastAddress; u != nullptr; u = u->Next) {
      if (u->Address.lpSockaddr != nullptr && u->Address.lpSockaddr->sa_family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(u->Address.lpSockaddr);
        adapter.ipv4.push_back({ntohl(in->sin_addr.s_addr), u->OnLinkPrefixLength});
      }
    }
    adapters.push_back(adapter);
  }
  return adapters;
}

std::vector<PortHolder> ReadPortHolders() {
  const std::vector<unsigned char> buffer = Grown([](unsigned char* data, ULONG* size) {
    DWORD room = *size;
    const DWORD status = ::GetExtendedUdpTable(data, &room, FALSE, AF_INET, UDP_TABLE_OWNER_PID, 0);
    *size = room;
    return static_cast<ULONG>(status);
  });
  std::vector<PortHolder> holders;
  if (buffer.empty()) {
    return holders;
  }
  const auto* table = reinterpret_cast<const MIB_UDPTABLE_OWNER_PID*>(buffer.data());
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_UDPROW_OWNER_PID& row = table->table[i];
    if (ntohs(static_cast<u_short>(row.dwLocalPort)) == CommandPort) {
      holders.push_back({ntohl(row.dwLocalAddr), row.dwOwningPid, ProcessName(row.dwOwningPid)});
    }
  }
  return holders;
}

}  // namespace tb::diagnosis::windows_checks
