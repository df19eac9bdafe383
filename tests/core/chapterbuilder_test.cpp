#include "core/chapterbuilder.h"

#include <gtest/gtest.h>

#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "core/tcustominifile.h"
#include "tests/support/testversion.h"

namespace {

// The view's text as an independent reading of the markup: heading line, then each verse's title
// and body, "~" a line break, "|" gone (no blank: the tests' font is not an "MS" one).
std::string Render(const TChapterText& t) {
  std::string s = t.Heading + "\r\n";
  for (const auto& piece : t.Verses) {
    s += piece.Title;
    for (char c : piece.Body) {
      if (c == '~')
        s += "\r\n";
      else if (c != '|')
        s += c;
    }
  }
  return s;
}

class ChapterBuilder : public ::testing::Test {
 protected:
  void SetUp() override {
    DataRoot = Dir.Path();
    IniFile = nullptr;
  }
  void TearDown() override { DataRoot.clear(); }
  std::unique_ptr<TBible> Load(int version, const TVersionData& data) {
    WriteSampleVersion(Dir.Path(), version, data);
    auto bible = std::make_unique<TBible>(version);
    EXPECT_FALSE(bible->DataPath.empty());
    return bible;
  }
  TChapterText Build(const TBible& bible, int slot, int chapter, TChapterOptions options = {}) {
    TChapterText t;
    EXPECT_TRUE(BuildChapterText(bible, slot, chapter, options, t));
    return t;
  }
  TTempDir Dir;
};

TVersionData OneChapter(uint16_t slot, std::vector<std::string> verses) {
  TVersionData d;
  d.Books.push_back({slot, "Title", "Name", "Nm", {std::move(verses)}});
  return d;
}

}  // namespace

TEST_F(ChapterBuilder, DefaultLayoutHeadingEmptyLineAndNumberedLines) {
  auto bible = Load(4, EnglishSample());
  const TChapterText t = Build(*bible, 1, 2);
  EXPECT_EQ(t.Heading, "Genesis  Chapter 2");
  ASSERT_EQ(t.VerseCount(), 25);
  ASSERT_EQ(t.VerseStart.size(), 27u);
  const std::string text = Render(t);
  EXPECT_EQ(t.Length, int32_t(text.size()));
  EXPECT_EQ(t.VerseStart[26], t.Length + 2);
  // Heading, an empty line, then verse 1 at the start of its line.
  EXPECT_EQ(t.VerseStart[1], int32_t(t.Heading.size()) + 4);
  EXPECT_EQ(text.substr(size_t(t.VerseStart[1]) - 4, 4), "\r\n\r\n");
  for (int k = 1; k <= 25; ++k) {
    const std::string label = std::to_string(k) + " ";
    EXPECT_EQ(text.substr(size_t(t.VerseStart[size_t(k)]), label.size()), label) << k;
    EXPECT_EQ(ActiveVerseText(text, t.VerseStart, k), label + ReadVerseAt(*bible, 1, 2, k)) << k;
  }
  // The two characters in front of each later verse are the line break.
  EXPECT_EQ(text.substr(size_t(t.VerseStart[3]) - 2, 2), "\r\n");
}

TEST_F(ChapterBuilder, PsalmsHeadingHasNoTitleAndBadChaptersBuildNothing) {
  auto bible = Load(4, EnglishSample());
  EXPECT_EQ(Build(*bible, 22, 3).Heading, "  Psalm 3");
  TChapterText t;
  t.Heading = "stale";
  EXPECT_FALSE(BuildChapterText(*bible, 1, 0, {}, t));
  EXPECT_FALSE(BuildChapterText(*bible, 1, 4, {}, t));
  EXPECT_FALSE(BuildChapterText(*bible, 2, 1, {}, t));  // a slot the version lacks
  EXPECT_FALSE(BuildChapterText(*bible, 0, 1, {}, t));
  EXPECT_FALSE(BuildChapterText(*bible, 79, 1, {}, t));
  EXPECT_TRUE(t.Heading.empty());
}

TEST_F(ChapterBuilder, LabelsFollowTheViewOptions) {
  TBook book;
  book.Name = "John";
  book.ShortName = "Jn";
  auto label = [&](int32_t packed) { return VerseLabel(book, 3, 16, TViewOptions::Unpack(packed)); };
  EXPECT_EQ(label(DefaultViewOptions), "16 ");
  EXPECT_EQ(label(0x00010101), "John 3:16 ");
  EXPECT_EQ(label(0x01010101), "Jn 3:16 ");
  EXPECT_EQ(label(0x00000100), "3");
  EXPECT_EQ(label(0x00010100), "3:16 ");
  EXPECT_EQ(label(0x00000001), "John ");
  EXPECT_EQ(label(0), "");
  book.Name.clear();
  EXPECT_EQ(label(0x00010001), "16 ");  // no lone blank for an empty name
  EXPECT_EQ(TViewOptions::Unpack(0x01000100).Pack(), 0x01000100);
}

TEST_F(ChapterBuilder, VerseStartFollowsEveryLabelLayout) {
  auto bible = Load(4, EnglishSample());
  for (int32_t packed : {0, 0x00000100, 0x00010101, 0x01010101}) {
    TChapterOptions o;
    o.View = TViewOptions::Unpack(packed);
    const TChapterText t = Build(*bible, 54, 3, o);
    const std::string text = Render(t);
    for (int k = 1; k <= t.VerseCount(); ++k) {
      const std::string label = VerseLabel(bible->BookAt(3), 3, k, o.View);
      EXPECT_EQ(text.substr(size_t(t.VerseStart[size_t(k)]), label.size()), label);
    }
    EXPECT_EQ(t.VerseStart.back(), int32_t(text.size()) + 2);
  }
}

TEST_F(ChapterBuilder, FootnotesAreStrippedOnlyWhenTheOptionIsOff) {
  std::string s = "a {x} b {y} c";
  StripFootnotes(s);
  EXPECT_EQ(s, "a b  c");  // the first with its blank, the second without
  s = "a{x} b";
  StripFootnotes(s);
  EXPECT_EQ(s, "a{x} b");  // no " {": nothing removed
  s = "a {x} b {open";
  StripFootnotes(s);
  EXPECT_EQ(s, "a b {open");
  s = "a {never closed";
  StripFootnotes(s);
  EXPECT_EQ(s, "a {never closed");

  auto bible = Load(4, OneChapter(1, {"one {note} two", "three"}));
  TChapterOptions o;
  EXPECT_EQ(Build(*bible, 1, 1, o).Verses[0].Body, "one {note} two");
  o.ShowFootnotes = false;
  const TChapterText t = Build(*bible, 1, 1, o);
  EXPECT_EQ(t.Verses[0].Body, "one two");
  EXPECT_EQ(t.VerseStart[2] - t.VerseStart[1], int32_t(std::string("1 one two\r\n").size()));
}

TEST_F(ChapterBuilder, ParagraphMarksRunVersesOnAndStartNewLines) {
  const std::string mark(1, char(ParagraphMark));
  auto bible = Load(3, OneChapter(1, {mark + "first", "second", mark + "third"}));
  const TChapterText t = Build(*bible, 1, 1);
  EXPECT_EQ(t.Verses[0].Title, "\r\n   1 ");
  EXPECT_EQ(t.Verses[0].Body, "first");
  EXPECT_EQ(t.Verses[1].Title, "   2 ");
  EXPECT_EQ(t.Verses[2].Title, "\r\n   3 ");
  const std::string text = Render(t);
  EXPECT_EQ(text.find(mark), std::string::npos);
  // A run-on verse starts at the third blank, a paragraph's first verse at the first.
  EXPECT_EQ(text.substr(size_t(t.VerseStart[2]), 3), " 2 ");
  EXPECT_EQ(text.substr(size_t(t.VerseStart[3]), 5), "   3 ");
  EXPECT_EQ(text.substr(size_t(t.VerseStart[3]) - 2, 2), "\r\n");
  EXPECT_EQ(ActiveVerseText(text, t.VerseStart, 1), "   1 first");
}

TEST_F(ChapterBuilder, GreekHeadingAndLabelsAreCyrillic) {
  auto bible = Load(9, GreekSample());
  TChapterOptions o;
  o.FontCharset = GREEK_CHARSET;
  const TChapterText t = Build(*bible, 51, 1, o);
  EXPECT_EQ(t.Heading, Utf8ToCp1251("Евангелие от Матей") + "  1");
  EXPECT_EQ(t.HeadingCharset, RUSSIAN_CHARSET);
  EXPECT_EQ(t.Verses[0].TitleCharset, RUSSIAN_CHARSET);
  EXPECT_EQ(t.Verses[0].BodyCharset, GREEK_CHARSET);
  auto english = Load(4, EnglishSample());
  const TChapterText e = Build(*english, 1, 1, o);
  EXPECT_EQ(e.HeadingCharset, GREEK_CHARSET);
  EXPECT_EQ(e.Verses[0].TitleCharset, GREEK_CHARSET);
}

TEST_F(ChapterBuilder, ChaptersLongerThanTheOldTableAreSizedToFit) {
  std::vector<std::string> verses;
  for (int k = 1; k <= 250; ++k) verses.push_back("verse " + std::to_string(k));
  auto bible = Load(4, OneChapter(1, verses));
  const TChapterText t = Build(*bible, 1, 1);
  ASSERT_EQ(t.VerseStart.size(), 252u);
  const std::string text = Render(t);
  EXPECT_EQ(ActiveVerseText(text, t.VerseStart, 250), "250 verse 250");
  EXPECT_EQ(VerseAt(t.VerseStart, t.VerseStart[250] + 3, 250), 250);
  // A maximum beyond the table stops at the table's end.
  EXPECT_EQ(VerseAt(t.VerseStart, t.Length + 10, 400), 401);
}

TEST_F(ChapterBuilder, MarkupLengthCountsBreaksAsTwoAndBlanksAfterItalic) {
  EXPECT_EQ(MarkupTextLength("a|b|c", false), 3);
  EXPECT_EQ(MarkupTextLength("a|b|c", true), 4);
  EXPECT_EQ(MarkupTextLength("a|b~c|d", true), 6);  // the italic run ends at "~" without a blank
  EXPECT_EQ(MarkupTextLength("x~~y", false), 6);
  EXPECT_EQ(PlainTextLength("a\r\nb\nc\rd"), 10);
}

TEST_F(ChapterBuilder, VerseAtFindsTheVerseAndTheHeadingGivesOneMore) {
  const std::vector<int32_t> starts = {0, 20, 30, 45, 60};  // three verses, end marker 60
  EXPECT_EQ(VerseAt(starts, 5, 3), 4);
  EXPECT_EQ(VerseAt(starts, 20, 3), 1);
  EXPECT_EQ(VerseAt(starts, 29, 3), 1);
  EXPECT_EQ(VerseAt(starts, 30, 3), 2);
  EXPECT_EQ(VerseAt(starts, 59, 3), 3);
  EXPECT_EQ(VerseAt(starts, 60, 3), 4);
  int32_t start = 0, length = 0;
  EXPECT_TRUE(VerseRange(starts, 2, start, length));
  EXPECT_EQ(start, 30);
  EXPECT_EQ(length, 13);
  EXPECT_FALSE(VerseRange(starts, 4, start, length));
  EXPECT_FALSE(VerseRange(starts, 0, start, length));
}

TEST_F(ChapterBuilder, FoundWordsOnlyWholeFirstAndInsideTheActiveVerse) {
  TCharSet letters = VersionLetters(4);
  //                 verse 1 from 2, verse 2 from 27
  const std::string text = "H\r\n1 God godly God said\r\n2 and God\r\n";
  const std::vector<int32_t> starts = {0, 3, 25, int32_t(text.size()) + 2};
  ASSERT_EQ(text.substr(3, 2), "1 ");
  ASSERT_EQ(text.substr(25, 2), "2 ");
  std::string words[] = {"god", "said", "and", "odl", ""};
  auto r = FoundWordRanges(text, starts, 1, words, 5, letters);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0], std::make_pair(int32_t(5), int32_t(3)));  // the first "God", not the second
  EXPECT_EQ(text.substr(size_t(r[1].first), 4), "said");
  r = FoundWordRanges(text, starts, 2, words, 5, letters);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(text.substr(size_t(r[0].first), 3), "God");
  EXPECT_EQ(text.substr(size_t(r[1].first), 3), "and");
  // Count limits the words; a verse outside the table colours nothing.
  EXPECT_EQ(FoundWordRanges(text, starts, 2, words, 0, letters).size(), 0u);
  EXPECT_EQ(FoundWordRanges(text, starts, 3, words, 5, letters).size(), 0u);
  // Cyrillic words compare through the ANSI lower-casing.
  const std::string cyr = Utf8ToCp1251("x\r\n1 БОГ и Бога");
  const std::vector<int32_t> cs = {0, 3, int32_t(cyr.size()) + 2};
  std::string bog[] = {Utf8ToCp1251("бог")};
  r = FoundWordRanges(cyr, cs, 1, bog, 1, VersionLetters(0));
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0].first, 5);
}
