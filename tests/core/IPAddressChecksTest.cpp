// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/IPAddressChecks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Exception.h"

namespace tb {
namespace {

std::string PieceLength(const std::string& a) {
  return "IPAddress must include 4 pieces of length 1..3. IPAddressString[" + a + "]";
}
std::string LeadingZero(const std::string& a) {
  return "Leading zero not allowed. IPAddressString[" + a + "]";
}
std::string Illegal(const std::string& a) {
  return "IP Address contains illegal symbols. IPAddressString[" + a + "]";
}
std::string Range(const std::string& a) {
  return "Triplets must be of range 0..255  IPAddressString[" + a + "]";
}

// The message that a check throws, or "" when it passes.
std::string ErrorOf(const std::string& address,
                    void (*check)(const AnsiString&) = ValidateIPAddress) {
  try {
    check(address);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST(GetPiece, SplitsAtTheSeparator) {
  struct Case {
    std::string text;
    int n;
    std::string piece;
  };
  const std::vector<Case> cases{
      {"192.168.0.1", 1, "192"},
      {"192.168.0.1", 4, "1"},
      {"192.168.0.1", 5, ""},
      {"1..2.3", 2, ""},
      {"1..2.3", 3, "2"},
      {"1.2.3", 4, ""},
      {"1.2.3.", 4, ""},
      {"", 1, ""},
      {"abc", 1, "abc"},
      {".a", 1, ""},
      {".a", 2, "a"},
      {"1.2.3.4.5", 5, "5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetPiece(c.text, c.n, '.'), c.piece) << c.text << " " << c.n;
  }
}

TEST(IPAddressToTriplets, PadsEachPieceToThreeCharacters) {
  EXPECT_EQ(IPAddressToTriplets("192.168.0.1"), "192168000001");
  EXPECT_EQ(IPAddressToTriplets("10.0.0.254"), "010000000254");
  EXPECT_EQ(IPAddressToTriplets("0.0.0.0"), "000000000000");
  EXPECT_EQ(IPAddressToTriplets("a.b.c.d"), "00a00b00c00d");
  // Only the first four pieces count.
  EXPECT_EQ(IPAddressToTriplets("1.2.3.4.5"), "001002003004");
}

TEST(IsAllDigits, AcceptsOnlyDecimalDigits) {
  EXPECT_TRUE(IsAllDigits(""));
  EXPECT_TRUE(IsAllDigits("0123456789"));
  EXPECT_FALSE(IsAllDigits(" 1"));
  EXPECT_FALSE(IsAllDigits("-1"));
  EXPECT_FALSE(IsAllDigits("1\xb9"));
}

TEST(ValidateIPAddress, ReportsTheFirstRuleBrokenInTestOrder) {
  struct Case {
    std::string address;
    std::string message;
  };
  const std::vector<Case> cases{
      {"192.168.0.1", ""},
      {"0.0.0.0", ""},
      {"255.255.255.255", ""},
      {"", PieceLength("")},
      {"1.2.3", PieceLength("1.2.3")},
      {"1.2.3.", PieceLength("1.2.3.")},
      {"1..2.3", PieceLength("1..2.3")},
      {"1234.1.1.1", PieceLength("1234.1.1.1")},
      {"01.2.3.4", LeadingZero("01.2.3.4")},
      {"00.1.1.1", LeadingZero("00.1.1.1")},
      {"1.2.3.010", LeadingZero("1.2.3.010")},
      // Piece 1 is tested before piece 3 is looked for.
      {"01.2", LeadingZero("01.2")},
      {"a.b.c.d", Illegal("a.b.c.d")},
      {"-1.2.3.4", Illegal("-1.2.3.4")},
      {" 1.2.3.4", Illegal(" 1.2.3.4")},
      {"256.1.1.1", Range("256.1.1.1")},
      {"1.1.1.999", Range("1.1.1.999")},
      // Group 1 is finished before group 2 is looked at.
      {"300.a.1.1", Range("300.a.1.1")},
      {"a.300.1.1", Illegal("a.300.1.1")},
      // Pieces and their lengths come before any character test.
      {"a.b.c.0001", PieceLength("a.b.c.0001")},
      {"a.01.1.1", LeadingZero("a.01.1.1")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf(c.address), c.message) << "[" << c.address << "]";
    EXPECT_EQ(ErrorOf(c.address, ValidateWholeIPAddress), c.message) << "[" << c.address << "]";
  }
  // Only four pieces are looked at; a text typed whole must end there.
  for (const std::string address : {"1.2.3.4.5", "1.2.3.4.", "1.2.3.4.x"}) {
    EXPECT_EQ(ErrorOf(address), "") << address;
    EXPECT_EQ(ErrorOf(address, ValidateWholeIPAddress), PieceLength(address));
  }
}

TEST(CheckTriplets, QuotesTheAddressNotTheGroup) {
  try {
    CheckTriplets("001002003999", "whatever");
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), Range("whatever"));
  }
}

TEST(GetIPOctet, GivesEachOctetOrZeroOutsideOneToFour) {
  EXPECT_EQ(GetIPOctet("10.0.0.254", 1), 10);
  EXPECT_EQ(GetIPOctet("10.0.0.254", 2), 0);
  EXPECT_EQ(GetIPOctet("10.0.0.254", 4), 254);
  EXPECT_EQ(GetIPOctet("10.0.0.254", 0), 0);
  EXPECT_EQ(GetIPOctet("10.0.0.254", 5), 0);
  EXPECT_EQ(GetIPOctet("192.168.0.1", 2), 168);
  try {
    GetIPOctet("1.2.3", 1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), PieceLength("1.2.3"));
  }
  // Validation comes before the octet number is looked at.
  EXPECT_THROW(GetIPOctet("1.2.3.256", 9), Exception);
}

}  // namespace
}  // namespace tb
