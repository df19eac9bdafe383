// Numbers and positions as other programs send them through the exchange conversations.

#include <gtest/gtest.h>

#include <string>

#include "core/exchangedata.h"

TEST(PokedNumber, ReadsDecimalsWithBlanksAndSign) {
  int32_t n = 0;
  EXPECT_TRUE(ReadPokedNumber("16", n));
  EXPECT_EQ(n, 16);
  EXPECT_TRUE(ReadPokedNumber(" \t+7\r\n", n));
  EXPECT_EQ(n, 7);
  EXPECT_TRUE(ReadPokedNumber("-5", n));
  EXPECT_EQ(n, -5);
  EXPECT_TRUE(ReadPokedNumber("007", n));
  EXPECT_EQ(n, 7);
}

TEST(PokedNumber, HugeNumbersSaturate) {
  int32_t n = 0;
  EXPECT_TRUE(ReadPokedNumber("2147483647", n));
  EXPECT_EQ(n, 2147483647);
  EXPECT_TRUE(ReadPokedNumber("2147483648", n));
  EXPECT_EQ(n, 2147483647);
  EXPECT_TRUE(ReadPokedNumber(std::string(100000, '9'), n));
  EXPECT_EQ(n, 2147483647);
  EXPECT_TRUE(ReadPokedNumber("-99999999999999999999", n));
  EXPECT_EQ(n, -2147483647 - 1);
}

TEST(PokedNumber, RejectsEverythingElse) {
  int32_t n = 42;
  for (const char* text : {"", " ", "+", "-", "abc", "3:16", "1 2", "12a", "0x10", "1.5", "--1",
                           "\xD0\x99"})
    EXPECT_FALSE(ReadPokedNumber(text, n)) << text;
  EXPECT_FALSE(ReadPokedNumber(std::string_view("1\0", 2), n));
  EXPECT_EQ(n, 42);
}

TEST(CrLfPosition, LineBreaksCountTwiceInTheTextOnceInTheDocument) {
  const std::u16string text = u"ab\r\ncd\r\n\r\nef";
  EXPECT_EQ(CrLfToDocPosition(text, 0), 0);
  EXPECT_EQ(CrLfToDocPosition(text, 2), 2);   // at the CR: end of the first line
  EXPECT_EQ(CrLfToDocPosition(text, 3), 2);   // between CR and LF: still the line's end
  EXPECT_EQ(CrLfToDocPosition(text, 4), 3);   // "c"
  EXPECT_EQ(CrLfToDocPosition(text, 10), 7);  // "e" after the empty line
  EXPECT_EQ(CrLfToDocPosition(text, 12), 9);  // the end
  EXPECT_EQ(CrLfToDocPosition(text, 13), 9);
  EXPECT_EQ(CrLfToDocPosition(text, -5), 0);
  EXPECT_EQ(CrLfToDocPosition(text, int64_t(1) << 40), 9);
  // A lone CR or LF is one character either way.
  EXPECT_EQ(CrLfToDocPosition(u"a\rb\nc", 4), 4);
  EXPECT_EQ(CrLfToDocPosition(u"", 3), 0);
}
