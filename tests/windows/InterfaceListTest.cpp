// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "net/InterfaceListWindows.h"
#include "net/Ipv4Address.h"
#include "net/LocalInterfaces.h"

namespace tb {
namespace {

struct Record {
  const char* address;
  const char* netmask;
  const char* broadcast;
  ULONG flags;
};

void Put(sockaddr_gen& target, const char* dotted) {
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_addr.s_addr = htonl(*ParseDottedIPv4(dotted));
  target.AddressIn = in;
}

// A buffer as SIO_GET_INTERFACE_LIST fills it.
std::vector<char> Buffer(const std::vector<Record>& records, std::size_t size) {
  std::vector<char> buffer(size, '\x5a');
  for (std::size_t i = 0; i < records.size(); ++i) {
    INTERFACE_INFO info{};
    info.iiFlags = records[i].flags;
    Put(info.iiAddress, records[i].address);
    Put(info.iiNetmask, records[i].netmask);
    Put(info.iiBroadcastAddress, records[i].broadcast);
    std::memcpy(buffer.data() + i * sizeof info, &info, sizeof info);
  }
  return buffer;
}

std::vector<TLocalInterface> Describe(const std::vector<char>& buffer, unsigned long bytes) {
  std::vector<TLocalInterface> list;
  for (const auto& entry : socketlayer::ReadInterfaceList(buffer.data(), buffer.size(), bytes)) {
    list.push_back(DescribeInterface(entry, "PC-1"));
  }
  return list;
}

TEST(InterfaceListTest, RecordsBecomeEntriesWithComputedBroadcast) {
  const auto buffer = Buffer(
      {
          {"127.0.0.1", "255.0.0.0", "255.255.255.255", IFF_UP | IFF_LOOPBACK},
          {"192.168.1.10", "255.255.255.0", "255.255.255.255", IFF_UP | IFF_BROADCAST},
          {"10.1.2.3", "255.255.255.255", "10.1.2.3", IFF_BROADCAST},  // down, host mask
      },
      socketlayer::InterfaceListBufferSize);
  const auto list = Describe(buffer, 3 * 76);
  ASSERT_EQ(list.size(), 3U);

  EXPECT_EQ(list[0].IPAddress, "127.0.0.1");
  EXPECT_EQ(list[0].BroadcastAddress, "127.255.255.255");
  EXPECT_TRUE(list[0].IsUp && list[0].IsLoopback && !list[0].IsBroadcast);

  EXPECT_EQ(list[1].NetMask, "255.255.255.0");
  EXPECT_EQ(list[1].NetAddress, "192.168.1.0");
  EXPECT_EQ(list[1].ReportedBroadcast, "255.255.255.255") << "kept as reported";
  EXPECT_EQ(list[1].BroadcastAddress, "192.168.1.255") << "computed, not the reported one";
  EXPECT_TRUE(list[1].IsUp && list[1].IsBroadcast && !list[1].IsLoopback);

  EXPECT_EQ(list[2].BroadcastAddress, "10.1.2.3") << "a host mask broadcasts to itself";
  EXPECT_FALSE(list[2].IsUp) << "a down interface is still listed";
  for (const auto& entry : list) {
    EXPECT_EQ(entry.ComputerName, "PC-1");
  }
}

// Only whole records count, and a byte count beyond the buffer (which the
// system never should report) reads no further than the buffer.
TEST(InterfaceListTest, ByteCountDecidesHowManyRecords) {
  std::vector<Record> thirteen(13, {"10.0.0.1", "255.0.0.0", "10.255.255.255", IFF_UP});
  const auto full = Buffer(thirteen, socketlayer::InterfaceListBufferSize);
  struct Case {
    unsigned long bytes;
    std::size_t entries;
  };
  const Case cases[] = {
      {0, 0}, {75, 0}, {76, 1}, {151, 1}, {152, 2}, {988, 13}, {1024, 13}, {100000, 13},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Describe(full, c.bytes).size(), c.entries) << c.bytes;
  }
  const std::vector<char> small(100, 0);
  EXPECT_EQ(socketlayer::ReadInterfaceList(small.data(), small.size(), 1024).size(), 1U);
}

// Windows refuses a buffer too small for every record and tells nothing of
// the room needed: the call is repeated with more room until all fit, and
// gives up on any other error, or once the buffer reached its limit.
TEST(InterfaceListTest, BufferGrowsUntilEveryRecordFits) {
  struct Case {
    std::size_t records;  // what the system holds
    int refusal;          // its answer while they do not fit
    int status;
    std::size_t entries;
    int calls;
  };
  const Case cases[] = {
      {0, WSAEFAULT, 0, 0, 1},
      {13, WSAEFAULT, 0, 13, 1},
      {14, WSAEFAULT, 0, 14, 2},
      {15, WSAENOBUFS, 0, 15, 2},
      {27, WSAEFAULT, 0, 27, 3},
      {200, WSAEFAULT, 0, 200, 5},
      {15, WSAENETDOWN, WSAENETDOWN, 0, 1},
      {20000, WSAEFAULT, WSAEFAULT, 0, 11},  // beyond the limit
  };
  for (const auto& c : cases) {
    const std::vector<Record> held(c.records, {"10.0.0.1", "255.0.0.0", "10.255.255.255", IFF_UP});
    int calls = 0;
    std::vector<socketlayer::InterfaceAddress> list{socketlayer::InterfaceAddress{}};
    const int status = socketlayer::QueryInterfaceListGrowing(
        [&](char* buffer, unsigned long size, unsigned long& bytes) {
          ++calls;
          const std::size_t needed = c.records * sizeof(INTERFACE_INFO);
          if (needed > size) {
            return c.refusal;
          }
          const auto filled = Buffer(held, needed);
          std::memcpy(buffer, filled.data(), needed);
          bytes = static_cast<unsigned long>(needed);
          return 0;
        },
        list);
    EXPECT_EQ(status, c.status) << c.records;
    EXPECT_EQ(list.size(), c.entries) << c.records;
    EXPECT_EQ(calls, c.calls) << c.records;
  }
}

TEST(InterfaceListTest, SystemListIsConsistent) {
  std::vector<TLocalInterface> list;
  ASSERT_TRUE(GetLocalInterfaces(list));
  for (const auto& entry : list) {
    const auto address = ParseDottedIPv4(entry.IPAddress);
    const auto netmask = ParseDottedIPv4(entry.NetMask);
    ASSERT_TRUE(address && netmask) << entry.IPAddress;
    EXPECT_EQ(entry.BroadcastAddress, FormatDottedIPv4(DirectedBroadcast(*address, *netmask)));
    EXPECT_LE(entry.ComputerName.size(), 15U);
    EXPECT_EQ(entry.ComputerName, list.front().ComputerName);
  }
}

}  // namespace
}  // namespace tb
