// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Batch.h"

#include <gtest/gtest.h>

namespace tb::cli {
namespace {

TEST(ParseBatch, ReadsEachDeviceAndRefusesMalformedLines) {
  const BatchFile good =
      ParseBatch(QStringLiteral("\uFEFFMAC,Address,Netmask,Gateway,Hostname,Password\r\n"
                                "# comment\n"
                                "\n"
                                " 00:01 , 10.0.0.5 ,255.255.255.0,10.0.0.1,\"ho,st\",\" p\"\"w \"\n"
                                "00:02,DHCP,,,,\r\r\n"
                                "mac-like:03,dhcp,,,\n"
                                "00:04,dhcp,,, h , \"pw\" \r\n"
                                "00:05,dhcp,,,,pw\r\r\n"));
  EXPECT_TRUE(good.errors.isEmpty()) << good.errors.join(QLatin1Char('\n')).toStdString();
  ASSERT_EQ(good.entries.size(), 5U);
  const BatchEntry& first = good.entries[0];
  EXPECT_EQ(first.line, 4);
  EXPECT_EQ(first.mac, "00:01");
  EXPECT_FALSE(first.dhcp);
  EXPECT_EQ(first.ip, "10.0.0.5");
  EXPECT_EQ(first.hostName, "ho,st");
  EXPECT_EQ(first.password, " p\"w ");
  // An empty password field, a trailing comma, is none: the batch's is meant.
  EXPECT_TRUE(good.entries[1].dhcp);
  EXPECT_FALSE(good.entries[1].password.has_value());
  // Padding around quotes and fields, and carriage returns, are no part of a value.
  EXPECT_EQ(good.entries[3].hostName, "h");
  EXPECT_EQ(good.entries[3].password, "pw");
  EXPECT_EQ(good.entries[4].password, "pw");
  // Only the first record may be a header.
  EXPECT_EQ(good.entries[2].mac, "mac-like:03");
  EXPECT_FALSE(good.entries[2].password.has_value());

  struct Case {
    const char* text;
    const char* error;
  };
  const Case bad[] = {
      {"AA,1,2\n", "line 1: 3 fields"},
      {"AA,dhcp,255.0.0.0,,h,p\n", "line 1: DHCP takes no netmask and no gateway"},
      {"\n\"AA,1,2,3,4,5\n", "line 2: a quoted field is not closed properly"},
      {"\"A\"B,1,2,3,4,5\n", "line 1: a quoted field is not closed properly"},
      {" ,1.2.3.4,1,1,h,p\n", "line 1: no MAC"},
      {"\"A\" x,1,2,3,4,5\n", "line 1: a quoted field is not closed properly"},
      {"#\n00:1a:2B,dhcp,,,\n00-1A-2b,dhcp,,,\n",
       "line 3: 00-1A-2b is listed again (first on line 2)"},
  };
  for (const Case& c : bad) {
    const BatchFile parsed = ParseBatch(QString::fromUtf8(c.text));
    ASSERT_EQ(parsed.errors.size(), 1) << c.text;
    EXPECT_TRUE(parsed.errors[0].startsWith(QString::fromUtf8(c.error)))
        << parsed.errors[0].toStdString();
    EXPECT_LE(parsed.entries.size(), 1U);
  }
}

}  // namespace
}  // namespace tb::cli
