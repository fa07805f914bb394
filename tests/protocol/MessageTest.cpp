// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/Message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tb {
namespace {

using namespace std::string_literals;

struct NameCase {
  std::string text;
  std::string name;
};

TEST(GetCommandName, TakesEverythingBeforeTheFirstParenthesis) {
  const std::vector<NameCase> cases{
      {"HELLO()", "HELLO"}, {"NTM", ""},       {"(a,b)", ""},     {"", ""},
      {"ACK(m)", "ACK"},    {"A B(x)", "A B"}, {"NTM\0(x)"s, ""}, {"N\xe9(x)", "N\xe9"},
      {"a(b(c)", "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetCommandName(c.text), c.name) << c.text;
  }
}

struct FieldCase {
  std::string text;
  int n;
  char separator;
  std::string field;
};

TEST(GetField, FollowsTheSeparatorAndCommaRules) {
  const std::vector<FieldCase> cases{
      {"X(a,b,c)", 1, '(', "a"},
      {"X(a,b,c)", 1, ',', "b"},
      {"X(a,b,c)", 2, ',', "c"},
      {"X(a,b,c)", 3, ',', ""},
      {"X(a,,c)", 1, ',', ""},
      {"X(a,,c)", 2, ',', "c"},
      {"ACK()", 1, '(', ""},
      {"ACK(m)", 1, '(', "m"},
      {"ACK(m,1)", 1, '(', "m"},
      // A ")" followed anywhere by a comma belongs to the field.
      {"X(a)b,c)", 1, '(', "a)b"},
      // The last field ends at the first ")".
      {"X(a,b)c)", 1, ',', "b"},
      // Neither "," nor ")" after the field: empty.
      {"X(a,b", 1, '(', "a"},
      {"X(a,b", 1, ',', ""},
      // A separator in the very first position is never counted.
      {"(a,b)", 1, '(', ""},
      {"(a,b)", 1, ',', "b"},
      {",a,b)", 1, ',', "b"},
      // Commas after the closing parenthesis still count.
      {"X(a)b,c", 1, ',', ""},
      {"X(a),b,c)", 2, ',', "c"},
      {"", 1, '(', ""},
      {"NTM", 1, '(', ""},
      // Fields past F8 and separators further than the text.
      {"N(0,1,2,3,4,5,6,7,8,9,10)", 8, ',', "8"},
      {"N(0,1,2,3,4,5,6,7,8,9,10)", 10, ',', "10"},
      {"N(0,1)", 9, ',', ""},
      // Every byte 1..255 passes through.
      {"N(\x01\xff,\x80)", 1, '(', "\x01\xff"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetField(c.text, c.n, c.separator), c.field)
        << c.text << " n=" << c.n << " sep=" << c.separator;
  }
}

TEST(GetField, StopsAtTheFirstZeroByte) {
  // The closing character lies only after the zero byte.
  EXPECT_EQ(GetField("X(a\0,b)"s, 1, '('), "");
  EXPECT_EQ(GetField("X(a\0)"s, 1, '('), "");
  // The separator itself lies after the zero byte.
  EXPECT_EQ(GetField("X\0(a)"s, 1, '('), "");
  // Before the zero byte everything reads as usual.
  EXPECT_EQ(GetField("X(a,b)\0,c)"s, 1, ','), "b");
  EXPECT_EQ(GetField("X(a,b)\0,c)"s, 2, ','), "");
}

struct HasFieldsCase {
  std::string text;
  int n;
  bool result;
};

TEST(HasFields, CountsEveryCommaUnlessEmptyParenthesesStand) {
  const std::vector<HasFieldsCase> cases{
      {"X(a,b,c)", 3, true},
      {"X(a,b,c)", 4, false},
      {"X(a,b,())", 1, false},
      {"X(a,b,())", 3, false},
      {"()", 1, false},
      {"X(a)b,c", 2, true},
      {"X(a)b,c", 3, false},
      {"", 1, true},
      {"", 2, false},
      {"NTM", 1, true},
      {",,,,,,,,", 9, true},
      {",,,,,,,,", 10, false},
      {"a(b)(c)", 1, true},
      {"N(1,2,3,4,5,6,7)", 8, false},
      {"N(1,2,3,4,5,6,7,8)", 8, true},
      {"N(1,2,3,4,5,6,7,8)", 9, false},
      {"N(1,2,3,4,5,6,7,8,9)", 9, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasFields(c.text, c.n), c.result) << c.text << " n=" << c.n;
  }
}

TEST(HasFields, IgnoresEverythingAfterTheFirstZeroByte) {
  EXPECT_FALSE(HasFields("X(a\0,b,c)"s, 2));
  EXPECT_TRUE(HasFields("X(a,b\0())"s, 2));
  EXPECT_TRUE(
      HasFields("X(\0"s
                "()"s,
                1));
}

TEST(BuildConfigCommand, WritesEachOfTheFourForms) {
  ConfigRequest r;
  r.password = "pw";
  r.mac = "00:11:22:33:44:55";
  r.ip = "10.0.0.5";
  r.netmask = "255.255.255.0";
  r.gateway = "10.0.0.1";
  r.hostName = "dev1";

  r.dhcp = true;
  r.hostNameEnabled = true;
  EXPECT_EQ(BuildConfigCommand(r), "CONFIG(pw,00:11:22:33:44:55,0.0.0.0,0.0.0.0,0.0.0.0,dev1)");
  r.hostNameEnabled = false;
  EXPECT_EQ(BuildConfigCommand(r), "CONFIG(pw,00:11:22:33:44:55,0.0.0.0,0.0.0.0,0.0.0.0)");
  r.dhcp = false;
  r.hostNameEnabled = true;
  EXPECT_EQ(BuildConfigCommand(r),
            "CONFIG(pw,00:11:22:33:44:55,10.0.0.5,255.255.255.0,10.0.0.1,dev1)");
  r.hostNameEnabled = false;
  EXPECT_EQ(BuildConfigCommand(r), "CONFIG(pw,00:11:22:33:44:55,10.0.0.5,255.255.255.0,10.0.0.1)");
}

TEST(BuildConfigCommand, ReadsBackFieldByField) {
  ConfigRequest r{"", "aa-bb", false, "1.2.3.4", "255.0.0.0", "1.0.0.1", true, "h\xf1"};
  const std::string text = BuildConfigCommand(r);
  EXPECT_EQ(GetCommandName(text), "CONFIG");
  EXPECT_EQ(GetField(text, 1, '('), "");
  EXPECT_EQ(GetField(text, 1, ','), "aa-bb");
  EXPECT_EQ(GetField(text, 2, ','), "1.2.3.4");
  EXPECT_EQ(GetField(text, 3, ','), "255.0.0.0");
  EXPECT_EQ(GetField(text, 4, ','), "1.0.0.1");
  EXPECT_EQ(GetField(text, 5, ','), "h\xf1");
  EXPECT_TRUE(HasFields(text, 6));
  EXPECT_FALSE(HasFields(text, 7));
}

}  // namespace
}  // namespace tb
