// The converters of the importer on small inputs made here.

#include <gtest/gtest.h>

#include "core/ansi.h"
#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tgreek.h"
#include "tools/bible-tool/tmarkup.h"
#include "tools/bible-tool/tmorphgnt.h"
#include "tools/bible-tool/tswordimport.h"

namespace {

std::string Osis(const std::string& raw, bool strongs = false) {
  TMarkupOptions o;
  o.StrongsNumbers = strongs;
  return ConvertVerseMarkup(raw, TSourceMarkup::Osis, o).Text;
}

}  // namespace

TEST(MarkupTest, OsisAddedWordsNotesAndLines) {
  struct Case {
    const char* raw;
    const char* view;
  } cases[] = {
      {"The <divineName><w lemma=\"strong:H3068\">LORD</w></divineName> "
       "<transChange type=\"added\">is</transChange> my shepherd",
       "The LORD |is| my shepherd"},
      {"the first day.<note placement=\"foot\"><reference type=\"annotateRef\">1.5 </reference>"
       "And the evening: Heb. And</note>  <div eID=\"gen4\" type=\"x-p\"/>",
       "the first day. {And the evening: Heb. And}"},
      {"<l sID=\"a\"/>first line<l eID=\"a\"/><l sID=\"b\"/>second line<l eID=\"b\"/>",
       "first line~second line"},
      {"<title canonical=\"true\" type=\"psalm\">A Psalm of David.</title> The LORD",
       "A Psalm of David.~The LORD"},
      {"<title type=\"section\">Heading</title>In the beginning", "In the beginning"},
      {"a <hi type=\"italic\">b<lb/>c</hi> d", "a |b|~|c| d"},
      {"x &amp; y &lt;z&gt; &#x3B1;", "x & y <z> \xCE\xB1"},
      {"bar | tilde ~ {brace}", "bar \xC2\xA6 tilde - (brace)"},
      {"unclosed <w lemma=\"strong:G1\">tag", "unclosed tag"},
      {"a < b", "a < b"},
  };
  for (const Case& c : cases) EXPECT_EQ(Osis(c.raw), c.view) << c.raw;
}

TEST(MarkupTest, StrongsNumbersFollowTheirWordsOnlyWhenAsked) {
  const std::string raw =
      "In the <w lemma=\"strong:H7225\">beginning</w> <w lemma=\"strong:H0430\">God</w> "
      "<w lemma=\"strong:G2889\">the world</w>, <w lemma=\"strong:H0853 strong:H0430\">x</w>"
      "<note>n <w lemma=\"strong:H1\">w</w></note>";
  EXPECT_EQ(Osis(raw, true), "In the beginning H7225 God H430 the world G2889, x H853 H430 {n w}");
  EXPECT_EQ(Osis(raw, false), "In the beginning God the world, x {n w}");
  EXPECT_EQ(StrongsWord("H0430"), "H430");
  EXPECT_EQ(StrongsWord("G0025"), "G25");
  EXPECT_EQ(StrongsWord("H0000"), "H0");
  EXPECT_EQ(StrongsWord("H1234a"), "H1234a");
  EXPECT_EQ(StrongsWord("H"), "");
  EXPECT_EQ(StrongsWord("X12"), "");
  EXPECT_EQ(StrongsWord("H12-3"), "");
}

TEST(MarkupTest, ParagraphStartsAreReported) {
  TMarkupOptions o;
  auto p = ConvertVerseMarkup("<div sID=\"g\" type=\"x-p\"/> Text", TSourceMarkup::Osis, o);
  EXPECT_TRUE(p.ParagraphStart);
  EXPECT_EQ(p.Text, "Text");
  auto mid = ConvertVerseMarkup("One.<div sID=\"g\" type=\"x-p\"/>Two.", TSourceMarkup::Osis, o);
  EXPECT_FALSE(mid.ParagraphStart);
  EXPECT_EQ(mid.Text, "One.~Two.");
  EXPECT_FALSE(ConvertVerseMarkup("Text<div eID=\"g\" type=\"x-p\"/>", TSourceMarkup::Osis, o)
                   .ParagraphStart);
}

TEST(MarkupTest, GbfAndThml) {
  TMarkupOptions o;
  o.StrongsNumbers = true;
  EXPECT_EQ(ConvertVerseMarkup("<CM>God<WH0430> <FI>is<Fi> good<RF>a note<Rf><CL>next",
                               TSourceMarkup::Gbf, o)
                .Text,
            "God H430 |is| good {a note}~next");
  EXPECT_EQ(ConvertVerseMarkup("God<sync type=\"Strongs\" value=\"H0430\"/> <i>is</i><br/>good"
                               "<note>n</note>",
                               TSourceMarkup::Thml, o)
                .Text,
            "God H430 |is|~good {n}");
}

TEST(MarkupTest, TidyKeepsLinePiecesClean) {
  EXPECT_EQ(TidyViewMarkup("  a   b ~  c  "), "a b~c");
  EXPECT_EQ(TidyViewMarkup("~~a~~"), "a");
  EXPECT_EQ(TidyViewMarkup("a||b"), "ab");
  EXPECT_EQ(TidyViewMarkup("|open"), "|open|");
}

TEST(CodePageTest, EncodesDecodesAndTransliterates) {
  TCodePage cp("windows-1251");
  EXPECT_EQ(cp.Encode("Битие 1:1"), "\xC1\xE8\xF2\xE8\xE5 1:1");
  EXPECT_EQ(cp.Decode("\xC1\xE8\xF2\xE8\xE5"), "Битие");
  EXPECT_EQ(cp.Encode("¶ …"), "\xB6 \x85");
  // Letters the code page lacks come out in Latin letters, never as "?".
  EXPECT_EQ(cp.Encode("Cæsar"), "Caesar");
  EXPECT_EQ(cp.Encode("theós"), "theos");
  EXPECT_EQ(cp.Encode("θεός"), "theos");
  std::string hebrew = cp.Encode("אלהים");
  EXPECT_FALSE(hebrew.empty());
  EXPECT_EQ(hebrew.find('?'), std::string::npos);
  EXPECT_EQ(cp.Transliterated, 11);  // æ, ó, four Greek and five Hebrew letters
  // Decomposed input is composed first, so the accent goes with its letter.
  EXPECT_EQ(cp.Encode("e\xCC\x81"), "e");
  EXPECT_EQ(cp.Encode("a\xC2\xB4" "b"), "a'b");
  EXPECT_EQ(cp.Unrepresentable, 0);
  // What has no spelling at all is written out, not dropped.
  std::string emoji = cp.Encode("\xF0\x9F\x98\x80");
  EXPECT_EQ(emoji, "<U+1F600>");
  EXPECT_EQ(cp.Unrepresentable, 1);

  TCodePage greek("windows-1253");
  EXPECT_EQ(greek.Encode("λόγος"), "\xEB\xFC\xE3\xEF\xF2");
  EXPECT_EQ(greek.Decode("\xE1\xF9"), "αω");
  EXPECT_EQ(greek.Encode("Бог"), "Bog");
  EXPECT_THROW(TCodePage("no-such-code-page"), std::runtime_error);
}

TEST(CodePageTest, Utf8DecodingSurvivesMalformedInput) {
  EXPECT_EQ(Utf8ToUtf32("a\xC3"), U"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf32("\xE2\x82"), U"\uFFFD\uFFFD");
  EXPECT_EQ(Utf8ToUtf32("\xFF" "b"), U"\uFFFDb");
  EXPECT_EQ(Utf32ToUtf8(Utf8ToUtf32("Ἐν ἀρχῇ")), "Ἐν ἀρχῇ");
}

TEST(GreekTest, LowerCaseWithoutDiacriticsFinalSigmaKept) {
  EXPECT_EQ(NormalizeGreek("Ἐν ἀρχῇ ἦν ὁ λόγος,"), "εν αρχη ην ο λογος,");
  EXPECT_EQ(NormalizeGreek("ΛΟΓΟΣ ΘΕΟΣ"), "λογος θεος");
  EXPECT_EQ(NormalizeGreek("Ἰησοῦς Χριστός·"), "ιησους χριστος·");
  EXPECT_EQ(NormalizeGreek("προϊδοῦσα"), "προιδουσα");
  // Every letter of the result is a letter of the Greek version.
  TCodePage greek("windows-1253");
  std::string bytes = greek.Encode(NormalizeGreek("Ἀβραὰμ ἐγέννησεν τὸν Ἰσαάκ, ῥῆμα ᾠδή"));
  for (unsigned char c : bytes)
    EXPECT_TRUE(c == ' ' || c == ',' || (c >= 0xE1 && c <= 0xF9)) << int(c);
}

TEST(MorphGntTest, ParsesBooksChaptersAndVerses) {
  std::vector<TMorphGntBook> books;
  ParseMorphGntLines(
      "040101 P- -------- Ἐν Ἐν ἐν ἐν\r\n"
      "040101 N- ----DSF- ἀρχῇ ἀρχῇ ἀρχῇ ἀρχή\n"
      "040103 V- 3AAI-S-- ἐγένετο, ἐγένετο ἐγένετο γίνομαι\n"
      "\n"
      "040201 C- -------- Καὶ Καὶ καί καί\n",
      "jn.txt", books);
  ASSERT_EQ(books.size(), 1u);
  EXPECT_EQ(books[0].Slot, 54);
  ASSERT_EQ(books[0].Chapters.size(), 2u);
  ASSERT_EQ(books[0].Chapters[0].size(), 3u);
  EXPECT_EQ(books[0].Chapters[0][0], "Ἐν ἀρχῇ");
  EXPECT_EQ(books[0].Chapters[0][1], "");  // a verse without words keeps its place
  EXPECT_EQ(books[0].Chapters[0][2], "ἐγένετο,");
  EXPECT_EQ(books[0].Chapters[1][0], "Καὶ");

  for (const char* bad : {"04010 P- x y", "040101", "990101 P- -- a b c d", "040001 P- -- a",
                          "040102 P- -- a\n040101 P- -- b"}) {
    std::vector<TMorphGntBook> b;
    EXPECT_THROW(ParseMorphGntLines(bad, "bad.txt", b), std::runtime_error) << bad;
  }
  EXPECT_EQ(MorphGntBookSlot(1), 51);
  EXPECT_EQ(MorphGntBookSlot(6), 63);   // Romans after the Catholic epistles
  EXPECT_EQ(MorphGntBookSlot(20), 56);  // James
  EXPECT_EQ(MorphGntBookSlot(27), 77);
  EXPECT_EQ(MorphGntBookSlot(28), 0);
  EXPECT_THROW(ReadMorphGnt("/nonexistent-folder"), std::runtime_error);
}

TEST(BookSlotsTest, FixedSlotsRoundTrip) {
  EXPECT_EQ(BookSlotOfOsis("Gen"), 1);
  EXPECT_EQ(BookSlotOfOsis("Ps"), 22);
  EXPECT_EQ(BookSlotOfOsis("2Esd"), 50);
  EXPECT_EQ(BookSlotOfOsis("Matt"), 51);
  EXPECT_EQ(BookSlotOfOsis("Rev"), 77);
  EXPECT_EQ(BookSlotOfOsis("PrMan"), 78);
  EXPECT_EQ(BookSlotOfOsis("AddEsth"), 0);
  for (int s = 1; s <= 78; ++s) EXPECT_EQ(BookSlotOfOsis(OsisOfBookSlot(s)), s);
  EXPECT_EQ(OsisOfBookSlot(0), "");
}

TEST(BookNameTest, OrdinalsAndLookAlikes) {
  EXPECT_EQ(TidyBookName("I Kings"), "1 Kings");
  EXPECT_EQ(TidyBookName("III John"), "3 John");
  EXPECT_EQ(TidyBookName("Isaiah"), "Isaiah");
  // A Latin K inside a Cyrillic name would never match what a user types.
  EXPECT_EQ(TidyBookName("2 Kнига на Царете"), "2 Книга на Царете");
  EXPECT_EQ(TidyBookName("Kings"), "Kings");
  EXPECT_EQ(VersionLocale(0), "bg");
  EXPECT_EQ(VersionLocale(3), "ru");
  EXPECT_EQ(VersionLocale(5), "en");
  EXPECT_EQ(VersionLocale(8), "de");
  EXPECT_EQ(VersionLocale(9), "bg");
  EXPECT_EQ(VersionLocale(10), "la");
}

TEST(BookNameTest, AbbreviationsThatStartAnotherBookAreLengthened) {
  std::vector<TVersionBook> books = {{68, "Philippians", "Philippians", "Phil", {}},
                                     {75, "Philemon", "Philemon", "Phlm", {}},
                                     {54, "John", "John", "John", {}},
                                     {59, "1 John", "1 John", "1John", {}},
                                     {1, "Bit", "Bit", "B.", {}},
                                     {2, "Bad", "Bad", "B.", {}}};
  DisambiguateShortNames(books);
  EXPECT_EQ(books[0].ShortName, "Phili");
  EXPECT_EQ(books[1].ShortName, "Phlm");
  EXPECT_EQ(books[2].ShortName, "John");
  EXPECT_EQ(books[3].ShortName, "1John");
  // An abbreviation that is no prefix of its own name stays as it is.
  EXPECT_EQ(books[4].ShortName, "B.");
  std::map<std::string, std::string> english = EnglishShortNames();
  EXPECT_EQ(english["Gen"], "Gen");
  EXPECT_EQ(english["1Kgs"], "1Kgs");
  EXPECT_EQ(english["Phil"], "Phili");
  EXPECT_EQ(english.size(), 66u);
}
