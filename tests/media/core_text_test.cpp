// Tests of the byte-string helpers and text-to-integer conversion.
#include <gtest/gtest.h>

#include <climits>

#include "media/media.h"

TEST(CoreText, ToIntReadsSignsBasesAndStopsAtOtherCharacters) {
  EXPECT_EQ(ToInt("  -12ab"), -12);
  EXPECT_EQ(ToInt("$1F"), 31);
  EXPECT_EQ(ToInt("%101"), 5);
  EXPECT_EQ(ToInt("ab"), 0);
  EXPECT_EQ(ToInt(""), 0);
  EXPECT_EQ(ToInt("-"), 0);
  EXPECT_EQ(ToInt("$"), 0);
  EXPECT_EQ(ToInt("+7"), 7);
  EXPECT_EQ(ToInt("-$1f"), -31);
  EXPECT_EQ(ToInt("%1021"), 2);
  EXPECT_EQ(ToInt("\t\r\n 640x480"), 640);
  EXPECT_EQ(ToInt("1 2"), 1);
  EXPECT_EQ(ToInt("- 5"), 0);
  EXPECT_EQ(ToInt("12.9"), 12);
}

TEST(CoreText, ToIntWrapsLongNumbers) {
  EXPECT_EQ(ToInt("2147483647"), INT_MAX);
  EXPECT_EQ(ToInt("2147483648"), INT_MIN);
  EXPECT_EQ(ToInt("-2147483648"), INT_MIN);
  EXPECT_EQ(ToInt("4294967297"), 1);
  EXPECT_EQ(ToInt("$FFFFFFFF"), -1);
  // 10^26 - 1 reduced modulo 2^32 and 2^64
  EXPECT_EQ(ToInt("99999999999999999999999999"), -469762049);
  EXPECT_EQ(ToLong("99999999999999999999999999"), -2537764290115403777LL);
  EXPECT_EQ(ToLong("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(ToLong("9223372036854775808"), LLONG_MIN);
  EXPECT_EQ(ToLong("18446744073709551617"), 1);
  EXPECT_EQ(ToLong("-$10"), -16);
  EXPECT_EQ(ToLong("12345678901234"), 12345678901234LL);
}

TEST(CoreText, MidClipsPositionsAndLengths) {
  EXPECT_EQ(Mid("hello", 2, 2), "el");
  EXPECT_EQ(Mid("hello", 2), "ello");
  EXPECT_EQ(Mid("hello", 2, -5), "ello");
  EXPECT_EQ(Mid("hello", 4, 10), "lo");
  EXPECT_EQ(Mid("hello", 5, 1), "o");
  EXPECT_EQ(Mid("hello", 6, 1), "");
  EXPECT_EQ(Mid("hello", 100), "");
  EXPECT_EQ(Mid("hello", 0, 2), "h");
  EXPECT_EQ(Mid("hello", -3, 2), "");
  EXPECT_EQ(Mid("hello", 1, 0), "");
  EXPECT_EQ(Mid("", 1), "");
}

TEST(CoreText, InstrLeftRightReplace) {
  EXPECT_EQ(Instr("abcabc", "c"), 3);
  EXPECT_EQ(Instr("abcabc", "c", 4), 6);
  EXPECT_EQ(Instr("abcabc", "x"), 0);
  EXPECT_EQ(Instr("abc", "c", 10), 0);
  EXPECT_EQ(Instr("abc", "a", -4), 1);
  EXPECT_EQ(Left("abc", 2), "ab");
  EXPECT_EQ(Left("abc", 9), "abc");
  EXPECT_EQ(Left("abc", -1), "");
  EXPECT_EQ(Right("abc", 2), "bc");
  EXPECT_EQ(Right("abc", 9), "abc");
  EXPECT_EQ(Right("abc", 0), "");
  EXPECT_EQ(Replace("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(Replace("a|b|c", "|", ""), "abc");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
  EXPECT_EQ(Replace("abcabc", "bc", "X"), "aXaX");
}

TEST(CoreText, TrimCaseAndCodes) {
  EXPECT_EQ(Trim("\t\r a b \x01"), "a b");
  EXPECT_EQ(Trim("\xA0x\xFF"), "\xA0x\xFF");  // high bytes are not white space
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Upper("abcXYZ\xE9 1"), "ABCXYZ\xE9 1");
  EXPECT_EQ(Lower("ABCxyz\xC9"), "abcxyz\xC9");
  EXPECT_EQ(Chr(65), "A");
  EXPECT_EQ(Chr(200), std::string(1, char(200)));
  EXPECT_EQ(Asc(""), -1);
  EXPECT_EQ(Asc("\xC8z"), 200);
  EXPECT_EQ(Asc(Chr(0)), 0);
}

TEST(CoreText, DegreeTrigonometry) {
  EXPECT_NEAR(SinDeg(90), 1.0f, 1e-6);
  EXPECT_NEAR(CosDeg(180), -1.0f, 1e-6);
  EXPECT_NEAR(SinDeg(-30), -0.5f, 1e-6);
  EXPECT_NEAR(CosDeg(60), 0.5f, 1e-6);
}
