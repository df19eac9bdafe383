// Keyboard layout translation: the tables' shape and the translation of single keys.

#include "core/keyboard.h"

#include <gtest/gtest.h>

#include <set>

#include "core/cp1251.h"

namespace {

std::string Translate(const std::string& keys, int language, bool autoKeybd = true) {
  std::string out;
  for (char c : keys) {
    TranslateKey(c, autoKeybd, language);
    out.push_back(c);
  }
  return out;
}

class KeyboardTest : public ::testing::Test {
 protected:
  void TearDown() override { SelectBulgarianLayout(false); }
};

}  // namespace

TEST_F(KeyboardTest, TablesHave94KeysAndTheUsTableListsEachPrintableOnce) {
  for (const std::string& t : KeyboardTables) EXPECT_EQ(t.size(), 94u);
  for (const std::string& t : BulgarianLayouts) EXPECT_EQ(t.size(), 94u);
  std::set<char> seen(KeyboardTables[0].begin(), KeyboardTables[0].end());
  EXPECT_EQ(seen.size(), 94u);
  for (int c = 0x21; c < 0x7F; ++c) EXPECT_TRUE(seen.count(char(c))) << c;
  // Digits are the same key in every layout.
  for (const std::string& t : {KeyboardTables[1], KeyboardTables[3], BulgarianLayouts[0],
                               BulgarianLayouts[1]})
    EXPECT_EQ(t.substr(1, 10), "1234567890");
}

TEST_F(KeyboardTest, BulgarianLayoutsFollowTheSetting) {
  SelectBulgarianLayout(false);
  EXPECT_EQ(Cp1251ToUtf8(Translate("qwe", 2)), ",уе");
  EXPECT_EQ(Cp1251ToUtf8(Translate("QWE", 2)), "ыУЕ");
  EXPECT_EQ(Cp1251ToUtf8(Translate("@()_+|]}", 2)), "?_№ІV);§");
  EXPECT_EQ(Cp1251ToUtf8(Translate("/fh", 2)), "бог");
  SelectBulgarianLayout(true);
  EXPECT_EQ(Cp1251ToUtf8(Translate("qwe", 2)), "яве");
  EXPECT_EQ(Cp1251ToUtf8(Translate("`~bog", 2)), "юЮбог");
}

TEST_F(KeyboardTest, GermanGreekAndUntranslatedKeys) {
  EXPECT_EQ(Translate("[;'-{:\"_abz", 1), "\xFC\xF6\xE4\xDF\xDC\xD6\xC4_abz");
  EXPECT_EQ(Translate("abg;:w", 3), "\xE1\xE2\xE3\xB4\xA8\xF2");
  EXPECT_EQ(Translate("qwe;[", 0), "qwe;[");
  EXPECT_EQ(Translate("qwe", 2, false), "qwe");
  EXPECT_EQ(Translate("qwe", 4), "qwe");
  // A space, a control character and a byte a national layout already produced stay.
  EXPECT_EQ(Translate(std::string(" \r\t\xE0\xFF", 5), 2), std::string(" \r\t\xE0\xFF", 5));
}
