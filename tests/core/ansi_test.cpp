#include <gtest/gtest.h>

#include "core/ansi.h"
#include "core/cp1251.h"

TEST(Ansi, Cp1251CaseMappingCoversCyrillicAndLatin) {
  const std::string upper = Utf8ToCp1251("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁЇІЎЈ");
  const std::string lower = Utf8ToCp1251("абвгдежзийклмнопрстуфхцчшщъыьэюяёїіўј");
  EXPECT_EQ(AnsiLowerCase(upper), lower);
  EXPECT_EQ(AnsiUpperCase(lower), upper);
  EXPECT_EQ(AnsiLowerCase("Genesis 1:1"), "genesis 1:1");
  // Digits, punctuation and bytes without case stay as they are.
  EXPECT_EQ(AnsiLowerCase("\x85\xB6 09!"), "\x85\xB6 09!");
}

TEST(Ansi, ByteOrderIsUnsignedWithPrefixFirst) {
  EXPECT_LT(CompareBytes("abc", "abd"), 0);
  EXPECT_LT(CompareBytes("ab", "abc"), 0);
  EXPECT_EQ(CompareBytes("", ""), 0);
  EXPECT_LT(CompareBytes("z", "\xE0"), 0);  // 0xE0 is above every ASCII byte
  EXPECT_EQ(AnsiCompareText(Utf8ToCp1251("ЙОАН"), Utf8ToCp1251("йоан")), 0);
  EXPECT_TRUE(AnsiSameText(Utf8ToCp1251("Мат"), Utf8ToCp1251("мАТ")));
}

TEST(Cp1251, RoundTripsEveryAssignedByte) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != 0x98) all.push_back(char(b));
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  EXPECT_EQ(Cp1251ToUtf8(Utf8ToCp1251("Битие")), "Битие");
  EXPECT_EQ(Utf8ToCp1251("α"), "?");
}
