#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "core/tbible.h"
#include "settings/tmyinifile.h"
#include "tests/support/testversion.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

// A data root with one version folder written by hand; restores the shared values afterwards.
class BibleFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    DataRoot = Dir.Path();
    IniFile = nullptr;
    MainFont = TFont();
  }
  void TearDown() override {
    IniFile = nullptr;
    DataRoot.clear();
  }
  void Titles(const std::string& text) { Write(Dir.File("KJV/BibleTitles.txt"), text); }
  void Structure(const std::string& text) { Write(Dir.File("KJV/BibleStructure.csv"), text); }
  TTempDir Dir;
};

}  // namespace

TEST_F(BibleFiles, TwoBooksLoadTitlesAndStructure) {
  Titles("2 51 52\r\nT1\r\nT2\r\nMatthew\r\nMark\r\nMt\r\nMk\r\n");
  Structure("3 25 23 17\r\n2 10 12\r\n");
  TBible bible(4);
  ASSERT_FALSE(bible.DataPath.empty());
  EXPECT_EQ(bible.BookCount, 2);
  EXPECT_EQ(bible.VerseCount, 87);
  EXPECT_EQ(bible.BookPosition[51], 1);
  EXPECT_EQ(bible.BookPosition[52], 2);
  EXPECT_EQ(bible.BookPosition[1], 0);
  EXPECT_EQ(bible.Books[51]->LastVerse, 65);
  EXPECT_EQ(bible.Books[52]->LastVerse, 87);
  EXPECT_EQ(bible.Books[52]->Title, "T2");
  EXPECT_EQ(bible.Books[51]->Name, "Matthew");
  EXPECT_EQ(bible.Books[52]->ShortName, "Mk");
  EXPECT_EQ(bible.Books[1]->Chapters.size(), 0u);
  EXPECT_EQ(bible.Font.Charset, 204);
}

TEST_F(BibleFiles, SlotNumbersMaySpreadOverLinesAndStructureTokensAreFree) {
  Titles("3 51\r\n52\t 54  \r\nA\r\nB\r\nC\r\nNa\r\nNb\r\nNc\r\nSa\r\nSb\r\nSc\r\n");
  Structure("1 5 2\n3 4\n\n\n1   7");
  TBible bible(4);
  EXPECT_EQ(bible.BookOrder[3], 54);
  EXPECT_EQ(bible.Books[51]->Title, "A");
  EXPECT_EQ(bible.Books[54]->ShortName, "Sc");
  EXPECT_EQ(bible.VerseCount, 5 + 3 + 4 + 7);
}

TEST_F(BibleFiles, ShortStructureGivesTrailingBooksNoChapters) {
  Titles("3 1 2 3\r\na\r\nb\r\nc\r\nA\r\nB\r\nC\r\nx\r\ny\r\nz\r\n");
  Structure("2 10 5\r\n1");
  TBible bible(4);
  EXPECT_EQ(bible.Books[2]->Chapters, std::vector<uint8_t>({0}));
  EXPECT_TRUE(bible.Books[3]->Chapters.empty());
  EXPECT_EQ(bible.VerseCount, 15);
  EXPECT_EQ(bible.Books[3]->LastVerse, 15);
}

TEST_F(BibleFiles, MissingFilesMakeTheVersionUnavailableOrEmpty) {
  TBible missing(4);
  EXPECT_TRUE(missing.DataPath.empty());
  Titles("1 1\r\nGenesis\r\nGenesis\r\nGen\r\n");
  TBible noStructure(4);
  EXPECT_FALSE(noStructure.DataPath.empty());
  EXPECT_EQ(noStructure.VerseCount, 0);
  TBible outside(11);
  EXPECT_TRUE(outside.DataPath.empty());
  EXPECT_TRUE(outside.Letters.none());
}

TEST_F(BibleFiles, TitlesOutsideTheDataModelMakeTheVersionUnavailable) {
  std::string many = "79";
  for (int i = 1; i <= 79; ++i) many += " " + std::to_string(i <= 78 ? i : 1);
  for (const std::string& head : {many, std::string("2 1 79"), std::string("2 0 5"),
                                  std::string("2 5 5"), std::string("-1")}) {
    Titles(head + "\r\nA\r\nB\r\nA\r\nB\r\na\r\nb\r\n");
    TBible bible(4);
    EXPECT_TRUE(bible.DataPath.empty()) << head;
    EXPECT_EQ(bible.BookCount, 0) << head;
  }
}

TEST_F(BibleFiles, CountsThatCannotBeStoredMarkTheStructureDamaged) {
  Titles("2 1 2\r\na\r\nb\r\nA\r\nB\r\nx\r\ny\r\n");
  for (const std::string& s : {std::string("1 256\r\n1 1"), std::string("1 -3\r\n1 1"),
                               std::string("300 " + std::string(300 * 4, ' ')),
                               std::string("4000000000 1")}) {
    Structure(s);
    if (s.rfind("4000000000", 0) == 0) {
      EXPECT_THROW(TBible(4), EInOutError);  // not a 32-bit integer
      continue;
    }
    TBible bible(4);
    EXPECT_FALSE(bible.DataPath.empty());
    EXPECT_EQ(bible.VerseCount, 0) << s;
    EXPECT_TRUE(bible.Books[1]->Chapters.empty() || bible.VerseCount == 0) << s;
  }
  // 258 chapters of 255 verses add past 65 535.
  std::string big = "258";
  for (int i = 0; i < 258; ++i) big += " 255";
  Structure(big + "\r\n1 1\r\n");
  TBible bible(4);
  EXPECT_EQ(bible.VerseCount, 0);
  EXPECT_TRUE(bible.Books[1]->Chapters.empty());
  EXPECT_TRUE(bible.Books[2]->Chapters.empty());
}

TEST_F(BibleFiles, NonDecimalTokensRaiseTheInputOutputError) {
  Titles("2 1,2\r\na\r\nb\r\n");
  try {
    TBible bible(4);
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, ioInvalidNumeric);
  }
  Titles("1 1\r\na\r\nA\r\nx\r\n");
  Structure("2 10,12");
  EXPECT_THROW(TBible(4), EInOutError);
}

TEST_F(BibleFiles, FontsAndBookmarksGoThroughTheSettings) {
  WriteSampleVersion(Dir.Path(), 9, GreekSample());
  WriteSampleVersion(Dir.Path(), 4, EnglishSample());
  TMyIniFile ini(Dir.File("bible.ini"));
  IniFile = &ini;
  MainFont = {"Times New Roman", 12, fsBold, 0, 0};
  ini.WriteString("GR\\Font", "FontName", "Arial");
  ini.WriteString("GR\\BookMarks", Utf8ToCp1251("Йоан 1:1"), "");
  ini.WriteString("GR\\BookMarks", Utf8ToCp1251("Мат 2:3"), "");
  {
    TBible greek(9);
    // With one font for all versions the stored font is ignored, the character set forced.
    EXPECT_EQ(greek.Font.Name, "Times New Roman");
    EXPECT_EQ(greek.Font.Charset, 161);
    EXPECT_EQ(greek.Font.Style, fsBold);
    ASSERT_EQ(greek.BookMarks.size(), 2u);
    EXPECT_EQ(greek.BookMarks[1], Utf8ToCp1251("Мат 2:3"));
    greek.BookMarks.erase(greek.BookMarks.begin());
  }
  EXPECT_EQ(ini.ReadString("GR\\Font", "FontName", ""), "Times New Roman");
  EXPECT_EQ(ini.ReadSection("GR\\BookMarks"), std::vector<std::string>({Utf8ToCp1251("Мат 2:3")}));
  // With a font for each version, the stored one.
  ini.WriteString("GR\\Font", "FontName", "DejaVu Serif");
  ini.WriteInteger("GR\\Font", "FontSize", 14);
  {
    TBible greek(9, true);
    EXPECT_EQ(greek.Font.Name, "DejaVu Serif");
    EXPECT_EQ(greek.Font.Size, 14);
    EXPECT_EQ(greek.Font.Charset, 161);
    greek.BookMarks.clear();
  }
  EXPECT_FALSE(ini.SectionExists("GR\\BookMarks"));
  // The first loaded Cyrillic-language version names the Cyrillic font; otherwise the settings do.
  EXPECT_EQ(CyrillicFontName(), "");
  ini.WriteString("RU\\Font", "FontName", "Liberation Serif");
  EXPECT_EQ(CyrillicFontName(), "Liberation Serif");
}

// The caption comes from "Name.txt" where the folder has one; a hostile file gives a clean line.
TEST_F(BibleFiles, VersionCaptionIsTheFoldersOwnNameElseTheTable) {
  EXPECT_EQ(VersionCaption(4), "King James Version");
  Write(Dir.File("KJV/Name.txt"), "\xEF\xBB\xBF  Библия 1940\r\nsecond line\r\n");
  EXPECT_EQ(VersionName(4), "Библия 1940");
  EXPECT_EQ(VersionCaption(4), "Библия 1940");
  Write(Dir.File("KJV/Name.txt"), "a\tb\x01" + std::string(300, 'x'));
  EXPECT_EQ(VersionName(4), "ab" + std::string(196, 'x'));
  // A letter of two bytes cut at the limit is left out whole, not half.
  Write(Dir.File("KJV/Name.txt"), std::string(199, 'x') + "Я");
  EXPECT_EQ(VersionName(4), std::string(199, 'x'));
  Write(Dir.File("KJV/Name.txt"), " \r\n");
  EXPECT_EQ(VersionCaption(4), "King James Version");
  EXPECT_EQ(VersionCaption(11), "");
  // The same translation in the version that keeps Strong's numbers reads apart from it.
  Write(Dir.File("KJVSN/Name.txt"), "King James Version\r\n");
  EXPECT_EQ(VersionCaption(5), "King James Version with Strongs numbers");
}
