#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "core/eioerror.h"
#include "core/tfile.h"
#include "core/tlargestringlist.h"
#include "tests/support/testversion.h"

namespace {

class Versions : public ::testing::Test {
 protected:
  void SetUp() override {
    DataRoot = Dir.Path();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());
    WriteSampleVersion(Dir.Path(), 0, BulgarianSample());
    WriteSampleVersion(Dir.Path(), 9, GreekSample());
  }
  void TearDown() override { DataRoot.clear(); }
  TTempDir Dir;
};

std::string B(const char* utf8) { return Utf8ToCp1251(utf8); }

}  // namespace

TEST_F(Versions, AbsoluteNumbersAndPlacesInvertEachOther) {
  TBible kjv(4);
  ASSERT_EQ(kjv.VerseCount, 31 + 25 + 24 + 6 + 12 + 8 + 51 + 25 + 36);
  EXPECT_EQ(VerseNumber(kjv, 1, 1, 1), 1);
  EXPECT_EQ(VerseNumber(kjv, 2, 1, 1), kjv.BookAt(1).LastVerse + 1);
  EXPECT_EQ(VerseNumber(kjv, 3, 3, 36), kjv.VerseCount);
  int n = 0;
  for (int p = 1; p <= kjv.BookCount; ++p)
    for (int c = 1; c <= kjv.ChapterCount(p); ++c)
      for (int v = 1; v <= kjv.ChapterVerses(p, c); ++v) {
        ASSERT_EQ(VerseNumber(kjv, p, c, v), ++n);
        int p2, c2, v2;
        LocateVerse(kjv, n, p2, c2, v2);
        ASSERT_EQ(std::tie(p2, c2, v2), std::tie(p, c, v)) << n;
      }
  int p, c, v;
  LocateVerse(kjv, kjv.BookAt(1).LastVerse, p, c, v);
  EXPECT_EQ(std::tie(p, c, v), std::make_tuple(1, 3, 24));
}

TEST_F(Versions, LocateVerseClampsNumbersOutsideTheVersion) {
  TBible kjv(4);
  int p, c, v;
  LocateVerse(kjv, 0, p, c, v);
  EXPECT_EQ(std::tie(p, c, v), std::make_tuple(1, 1, 1));
  LocateVerse(kjv, 65535, p, c, v);
  EXPECT_EQ(std::tie(p, c, v), std::make_tuple(3, 3, 36));
  LocateVerse(kjv, -7, p, c, v);
  EXPECT_EQ(p, 1);
  std::filesystem::remove(Dir.File("KJV/BibleStructure.csv"));
  TBible empty(4);
  LocateVerse(empty, 5, p, c, v);
  EXPECT_EQ(std::tie(p, c, v), std::make_tuple(1, 1, 1));
  EXPECT_EQ(VerseReference(empty, 5, false), "Genesis 1:1");
}

TEST_F(Versions, ReferencesAndHeadings) {
  TBible kjv(4);
  EXPECT_EQ(VerseReference(kjv, 1, false), "Genesis 1:1");
  EXPECT_EQ(VerseReference(kjv, VerseNumber(kjv, 3, 3, 16), true), "Jn 3:16");
  EXPECT_EQ(ChapterHeading(kjv, 22), "  Psalm ");
  EXPECT_EQ(ChapterHeading(kjv, 54), "  Chapter ");
  TBible bg(0);
  EXPECT_EQ(ChapterHeading(bg, 22), B("  Псалом "));
  EXPECT_EQ(ChapterHeading(bg, 1), B("  Глава "));
  TBible gr(9);
  EXPECT_EQ(ChapterHeading(gr, 51), "  ");
  EXPECT_EQ(gr.Font.Charset, 161);
  // The Greek version holds only New Testament slots; its first verse is in slot 51.
  EXPECT_EQ(gr.BookPosition[1], 0);
  EXPECT_EQ(gr.BookOrder[1], 51);
  EXPECT_EQ(VerseReference(gr, 1, false), B("Матей 1:1"));
}

TEST(Reference, NormalizeSeparatesAndCases) {
  auto norm = [](std::string s) {
    NormalizeReference(s);
    return s;
  };
  EXPECT_EQ(norm(B("Йоан3:16")), B("Йоан 3:16"));
  EXPECT_EQ(norm(B(" 1  кор. 13 :4")), B("1 Кор.13:4"));
  EXPECT_EQ(norm("ps23"), "Ps 23");
  EXPECT_EQ(norm("   "), "");
  EXPECT_EQ(norm(""), "");
  EXPECT_EQ(norm("GENESIS  1 : 1"), "Genesis 1:1");
  EXPECT_EQ(norm("3:16"), "3:16");
}

TEST_F(Versions, ParseReferenceFindsNamesAbbreviationsAndNumbers) {
  TBible bg(0);
  struct Case {
    std::string text;
    bool result;
    int position, chapter, verse;
  };
  // The caller's current position is 2 before each parse.
  const std::vector<Case> cases = {
      {B("Йоан 3:16"), true, 3, 3, 16},   {B("йоан3:16"), true, 3, 3, 16},
      {B("Йн 3:16"), true, 3, 3, 16},     {B("Бит 1:1"), true, 1, 1, 1},
      {B("Би 2:5"), true, 1, 2, 5},       {B("Б 2:5"), false, 2, 1, 1},
      {"3:16", true, 2, 3, 16},           {"16", true, 2, 1, 16},
      {B("Йоан 3:16-18"), true, 3, 3, 16}, {"3:16-18", false, 2, 3, 16},
      {B("Псалми 23"), true, 2, 23, 1},   {B("Битие"), true, 1, 1, 1},
      {"", false, 2, 1, 1},               {"hello", false, 2, 1, 1},
      {"99999999999999:1", true, 2, INT32_MAX, 1},
  };
  for (const auto& c : cases) {
    int p = 2, ch = 0, v = 0;
    EXPECT_EQ(ParseReference(bg, c.text, p, ch, v), c.result) << Cp1251ToUtf8(c.text);
    EXPECT_EQ(std::tie(p, ch, v), std::tie(c.position, c.chapter, c.verse))
        << Cp1251ToUtf8(c.text);
  }
}

// Names of the other versions of the same slot count after the active version's own; a leading
// word that no version names makes the text no reference, whatever numbers follow it.
TEST_F(Versions, ReferencesInAnyVersionsNamesAndNoneAfterAnUnknownWord) {
  TBible kjv(4), bg(0), gr(9);
  struct Case {
    const TBible* bible;
    std::string text;
    bool result;
    int position, chapter, verse;
  };
  const std::vector<Case> cases = {
      {&kjv, B("Йоан 3:16"), true, 3, 3, 16},   {&kjv, B("„Йн 3:16“"), true, 3, 3, 16},
      {&kjv, B("псалми 23:1"), true, 2, 23, 1}, {&bg, "John 3:16", true, 3, 3, 16},
      {&bg, "(Gen 1:2)", true, 1, 1, 2},        {&gr, "John 1:1", true, 2, 1, 1},
      {&kjv, "Table 3:16", false, 2, 1, 1},     {&bg, "Exodus 3:16", false, 2, 1, 1},
      {&gr, "Genesis 1:1", false, 2, 1, 1},     {&kjv, "3:16", true, 2, 3, 16},
      {&kjv, "Psalm 23", true, 2, 23, 1},
  };
  for (const auto& c : cases) {
    int p = 2, ch = 0, v = 0;
    EXPECT_EQ(ParseReference(*c.bible, c.text, p, ch, v), c.result) << Cp1251ToUtf8(c.text);
    EXPECT_EQ(std::tie(p, ch, v), std::tie(c.position, c.chapter, c.verse))
        << Cp1251ToUtf8(c.text);
  }
  std::string s = B("Йоан 3:16");
  NormalizeReference(s);
  EXPECT_EQ(FindBookName(kjv, s), 3);
  EXPECT_EQ(s, " 3:16");
}

TEST_F(Versions, FindBookNameNeedsTwoThirdsOfTheWordAndTwoLetters) {
  TBible kjv(4);
  auto find = [&](std::string s) {
    NormalizeReference(s);
    return FindBookName(kjv, s);
  };
  EXPECT_EQ(find("Gen"), 1);      // abbreviation
  EXPECT_EQ(find("Gene"), 1);     // abbreviation wins before the name is looked at
  EXPECT_EQ(find("Psal"), 2);     // 4 of 4 letters match the name
  EXPECT_EQ(find("Psx"), 2);      // abbreviation "Ps"
  EXPECT_EQ(find("Joh"), 3);
  EXPECT_EQ(find("Jox"), -1);     // 2 of 3 is exactly two thirds: not enough
  EXPECT_EQ(find("J"), -1);       // one matching letter is never enough
  std::string s = "John 3:16";
  NormalizeReference(s);
  EXPECT_EQ(FindBookName(kjv, s), 3);
  EXPECT_EQ(s, " 3:16");
  s = "Exodus 1";
  EXPECT_EQ(FindBookName(kjv, s), -1);
  EXPECT_EQ(s, "Exodus 1");
}

TEST_F(Versions, ReadVerseGivesTheRecordBytes) {
  TBible kjv(4);
  EXPECT_EQ(ReadVerse(kjv, 1), "In the beginning God created the heaven and the earth.");
  EXPECT_EQ(ReadVerseAt(kjv, 3, 3, 16).substr(0, 15), "For God so love");
  EXPECT_EQ(ReadVerse(kjv, kjv.VerseCount).substr(0, 7), "Jn 3:36");
  EXPECT_EQ(ReadVerse(kjv, 0), "");
  EXPECT_EQ(ReadVerse(kjv, kjv.VerseCount + 1), "");
  TBible gr(9);
  EXPECT_EQ(ReadVerseAt(gr, 2, 1, 1), Greek("εν αρχη ην ο λογος και ο λογος ην προς τον θεον"));
}

TEST_F(Versions, VersionWithoutTextFilesReadsEmptyAndGetsThePair) {
  std::filesystem::remove(Dir.File("KJV/CompactText.bin"));
  std::filesystem::remove(Dir.File("KJV/CompactPoint.bin"));
  TBible kjv(4);
  EXPECT_EQ(ReadVerse(kjv, 1), "");
  EXPECT_EQ(std::filesystem::file_size(Dir.File("KJV/CompactText.bin")), 6u);
  EXPECT_EQ(std::filesystem::file_size(Dir.File("KJV/CompactPoint.bin")), 0u);
}

TEST_F(Versions, WordListRowsCountsAndSearch) {
  TBible kjv(4);
  TLargeStringList2 list(&kjv);
  const int32_t n = list.GetCount();
  ASSERT_GT(n, 10);
  // The list is sorted, lower-cased, and each count is the size of the word's verse set.
  std::string previous;
  for (int32_t i = 0; i < n; ++i) {
    const std::string word = list.GetWord(i);
    EXPECT_EQ(word, AnsiLowerCase(word));
    if (i) {
      EXPECT_LT(CompareBytes(previous, word), 0);
    }
    const VerseList verses = LoadWordVerses(kjv, i);
    ASSERT_TRUE(verses.Present());
    EXPECT_EQ(list.Get(i), word + " " + std::to_string(verses.Count()));
    EXPECT_EQ(list.IndexOf(AnsiUpperCase(word)), i);
    EXPECT_EQ(ReadWordLine(kjv, i), word);
    previous = word;
  }
  EXPECT_EQ(list.IndexOf(""), 0);
  EXPECT_EQ(list.IndexOf("zzzzzz"), n);
  // "God" occurs in Genesis 1:1 and John 3:16 (and in generated verses).
  const VerseList god = LoadWordVerses(kjv, list.IndexOf("god"));
  EXPECT_EQ(god[1], 1);
  EXPECT_NE(std::find(god.begin(), god.end(), uint16_t(VerseNumber(kjv, 3, 3, 16))), god.end());
  // Every verse that contains a word is in its set, and no other.
  for (int32_t i = 0; i < n; i += 3) {
    const std::string word = list.GetWord(i);
    std::vector<uint16_t> scan;
    for (int v = 1; v <= kjv.VerseCount; ++v) {
      const std::string text = AnsiLowerCase(ReadVerse(kjv, v));
      for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const bool startOk = at == 0 || !kjv.Letters.test((unsigned char)text[at - 1]);
        const size_t e = at + word.size();
        const bool endOk = e == text.size() || !kjv.Letters.test((unsigned char)text[e]);
        if (startOk && endOk) {
          scan.push_back(uint16_t(v));
          break;
        }
      }
    }
    EXPECT_EQ(LoadWordVerses(kjv, i).ToVector(), scan) << word;
  }
}

TEST_F(Versions, MissingConcordanceFilesShowZeroOrRaise) {
  TBible kjv(4);
  TLargeStringList2 list(&kjv);
  const std::string last = list.GetWord(list.GetCount() - 1);
  std::filesystem::resize_file(Dir.File("KJV/ConcP.bin"), 4 * 3);
  EXPECT_EQ(list.Get(list.GetCount() - 1), last + " 0");
  EXPECT_TRUE(LoadWordVerses(kjv, list.GetCount() - 1).Absent());
  std::filesystem::remove(Dir.File("KJV/Conc.bin"));
  EXPECT_THROW(list.Get(0), EInOutError);
  std::filesystem::remove(Dir.File("KJV/ConcP.bin"));
  EXPECT_EQ(list.Get(0), list.GetWord(0) + " 0");
  EXPECT_TRUE(LoadWordVerses(kjv, 0).Absent());
}

TEST_F(Versions, EmptyStoredSetIsPresentNotAbsent) {
  std::string conc, concP;
  PutU16(conc, 0);
  PutI32(concP, 0);
  std::ofstream(Dir.File("KJV/Conc.bin"), std::ios::binary) << conc;
  std::ofstream(Dir.File("KJV/ConcP.bin"), std::ios::binary) << concP;
  TBible kjv(4);
  const VerseList list = LoadWordVerses(kjv, 0);
  EXPECT_TRUE(list.Present());
  EXPECT_EQ(list.Count(), 0);
}
