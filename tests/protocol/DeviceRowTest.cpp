// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/DeviceRow.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "protocol/ModelTable.h"

namespace tb {
namespace {

using namespace std::string_literals;

DeviceRow Row(std::string caption, std::array<std::string, 8> subItems) {
  return DeviceRow{std::move(caption), std::move(subItems)};
}

struct RowCase {
  std::string text;
  DeviceRow row;
};

TEST(MakeDeviceRow, BuildsCaptionAndSubItemsForEachReplyShape) {
  const std::string model1113 = ModelNameForCode("1113");
  const std::string model1118 = ModelNameForCode("1118");
  const std::vector<RowCase> cases{
      // 7 fields: no host name, caption from the code.
      {"NTM(1113,1.2.0,00:A0:01,10.0.0.5,255.255.255.0,10.0.0.1,0)",
       Row(model1113,
           {"-", "00:A0:01", "1.2.0", "No", "10.0.0.5", "255.255.255.0", "10.0.0.1", "NHN"})},
      // 8 fields, ordinary product: host name accepted.
      {"NTM(1113,1.2.0,m,1.1.1.1,255.0.0.0,1.0.0.1,1,host1)",
       Row(model1113, {"host1", "m", "1.2.0", "Si", "1.1.1.1", "255.0.0.0", "1.0.0.1", "EHN"})},
      // 9 fields: the device names itself, even with an empty name.
      {"NTM(1113,1.2.0,m,1.1.1.1,255.0.0.0,1.0.0.1,1,host1,Boiler)",
       Row("Boiler", {"host1", "m", "1.2.0", "Si", "1.1.1.1", "255.0.0.0", "1.0.0.1", "EHN"})},
      {"NTM(1113,1.2.0,m,1.1.1.1,255.0.0.0,1.0.0.1,1,host1,)",
       Row("", {"host1", "m", "1.2.0", "Si", "1.1.1.1", "255.0.0.0", "1.0.0.1", "EHN"})},
      // Fields past F8 are ignored.
      {"NTM(1113,1,m,i,n,g,0,h,d,extra,more)",
       Row("d", {"h", "m", "1", "No", "i", "n", "g", "EHN"})},
      // The empty reply.
      {"NTM()", Row(DefaultModelName, {"-", "", "", "Si", "", "", "", "NHN"})},
      // "()" anywhere makes the field tests fail although commas are there.
      {"NTM(1113,1,m,i,n,g,0,h,())", Row(model1113, {"-", "m", "1", "No", "i", "n", "g", "NHN"})},
      // Zero byte ends the text: commas after it do not count.
      {"NTM(1113,1,m,i,n,g,0)\0,h,d)"s,
       Row(model1113, {"-", "m", "1", "No", "i", "n", "g", "NHN"})},
      // 8-bit bytes pass through.
      {"NTM(1113,1,\xAA\xBB,i,n,g,0,h\xf1,D\xe9)",
       Row("D\xe9", {"h\xf1", "\xAA\xBB", "1", "No", "i", "n", "g", "EHN"})},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MakeDeviceRow(c.text), c.row) << c.text;
  }
}

struct HostRuleCase {
  std::string code;
  std::string version;
  bool accepts;
};

TEST(MakeDeviceRow, HostNameRuleForOldFirmwareOf1118And1119) {
  const std::vector<HostRuleCase> cases{
      {"1118", "1.0.0", false}, {"1118", "1.0.2", false}, {"1118", "1.0.5", false},
      {"1118", "1.0.8", false}, {"1119", "1.0.3", false}, {"1119", "1.0.7", false},
      {"1118", "1.0.1", true},  {"1118", "1.0.9", true},  {"1119", "1.1.0", true},
      {"1118", "", true},       {"1119", "1.0.5 ", true}, {"1113", "1.0.5", true},
      {"1117", "1.0.0", true},  {"9999", "1.0.5", true},
  };
  for (const auto& c : cases) {
    const DeviceRow row = MakeDeviceRow("NTM(" + c.code + "," + c.version + ",m,i,n,g,0,myhost)");
    EXPECT_EQ(row.subItems[SubHost], c.accepts ? "myhost" : "-") << c.code << " " << c.version;
    EXPECT_EQ(row.subItems[SubHostNameMarker], c.accepts ? "EHN" : "NHN")
        << c.code << " " << c.version;
  }
  // With only 7 fields the old-firmware rule is never reached.
  EXPECT_EQ(MakeDeviceRow("NTM(1118,1.0.9,m,i,n,g,0)").subItems[SubHostNameMarker], "NHN");
}

TEST(MakeDeviceRow, DhcpIsNoOnlyForExactlyZero) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"0", "No"}, {"1", "Si"}, {"00", "Si"}, {"", "Si"}, {" 0", "Si"}, {"off", "Si"}};
  for (const auto& [f6, shown] : cases) {
    EXPECT_EQ(MakeDeviceRow("NTM(1113,1,m,i,n,g," + f6 + ")").subItems[SubDHCP], shown) << f6;
  }
}

}  // namespace
}  // namespace tb
