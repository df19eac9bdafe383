// The converters of the importer on small inputs made here.

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <sstream>

#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/dictionarychoice.h"
#include "core/tindex.h"
#include "tests/support/testversion.h"
#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tcommands.h"
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

TEST(MarkupTest, TagsWithoutNamesAreHarmless) {
  // "</>" once made the tag parser read past the tag's end.
  for (const char* raw : {"\x01" "a</>b", "</>", "<>", "</", "<//>", "< / >"}) {
    EXPECT_NO_THROW(TokenizeMarkup(raw)) << raw;
  }
  const auto tokens = TokenizeMarkup("a</>b");
  ASSERT_FALSE(tokens.empty());
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
  EXPECT_EQ(cp.Transliterated, 10);  // æ, four Greek and five Hebrew letters
  // Decomposed input is composed first, so the accent goes with its letter.
  EXPECT_EQ(cp.Encode("e\xCC\x81"), "e");
  EXPECT_EQ(cp.Fitted.LettersFitted, 2);  // ó and é: their base letters
  // A letter the page lacks keeps its base letter, a stress mark goes, a letter the page has stays.
  EXPECT_EQ(cp.Encode("даде ѝ любо\xCC\x81в, ёж"), cp.Encode("даде и любов, ёж"));
  EXPECT_EQ(cp.Fitted.LettersFitted, 3);
  EXPECT_EQ(cp.Fitted.MarksDropped, 1);
  EXPECT_EQ(cp.Encode("a\xC2\xB4" "b"), "a'b");
  EXPECT_EQ(cp.Unrepresentable, 0);
  // What has no spelling at all is written out, not dropped.
  std::string emoji = cp.Encode("\xF0\x9F\x98\x80");
  EXPECT_EQ(emoji, "<U+1F600>");
  EXPECT_EQ(cp.Unrepresentable, 1);

  TCodePage greek("windows-1253");
  EXPECT_EQ(greek.Encode("λόγος"), "\xEB\xFC\xE3\xEF\xF2");
  // Polytonic letters become monotonic ones: breathings and iota subscript go, any accent is the
  // tonos.
  EXPECT_EQ(greek.Encode("ἄρχῇ ὁ"), greek.Encode("άρχή ο"));
  EXPECT_EQ(greek.Transliterated, 0);
  EXPECT_EQ(greek.Decode("\xE1\xF9"), "αω");
  EXPECT_EQ(greek.Encode("Бог"), "Bog");
  EXPECT_THROW(TCodePage("no-such-code-page"), std::runtime_error);
}

// The one table of each code page agrees byte for byte with ICU's converter, both ways, and the
// reading commands and the typed text fit letters by the importer's rule.
TEST(CodePageTest, TablesAgreeWithIcuAndEveryoneFitsAlike) {
  for (const char* name : {"windows-1250", "windows-1251", "windows-1252", "windows-1253"}) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* icu = ucnv_open(name, &status);
    ASSERT_TRUE(U_SUCCESS(status)) << name;
    ucnv_setToUCallBack(icu, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    TByteCodePage table(name);
    TCodePage importer(name);
    for (int b = 1; b < 256; ++b) {
      if (b == 0x1A) continue;  // ICU's substitution byte
      const char byte = char(b);
      UChar u[4];
      status = U_ZERO_ERROR;
      const int32_t n = ucnv_toUChars(icu, u, 4, &byte, 1, &status);
      std::string utf8;
      AppendUtf8(utf8, U_SUCCESS(status) && n == 1 ? char32_t(u[0]) : char32_t(0xFFFD));
      EXPECT_EQ(table.Decode(std::string(1, byte)), utf8) << name << " byte " << b;
      EXPECT_EQ(importer.Decode(std::string(1, byte)), utf8) << name << " byte " << b;
      if (utf8 != "\xEF\xBF\xBD") {
        EXPECT_EQ(table.Encode(utf8), std::string(1, byte)) << name << " byte " << b;
      }
    }
    ucnv_close(icu);
    EXPECT_EQ(table.Encode("\xE2\x98\x83"), "?");  // a snowman is in none of them
  }
  EXPECT_EQ(TByteCodePage("windows-1250").Encode("Grüße"), "Gr\xFC\xDF" "e");
  EXPECT_EQ(TByteCodePage("windows-1252").Encode("Erdős"), "Erdos");
  EXPECT_EQ(TByteCodePage("windows-1251").Encode("ѝ"), Utf8ToCp1251("и"));
  EXPECT_EQ(FitToCodePage("любо\xCC\x81в ѝ ё α", "windows-1251"), Utf8ToCp1251("любов и ё ?"));
  EXPECT_THROW(TByteCodePage("utf-8"), std::runtime_error);
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
  // Each word with its lemma, for the word-to-lemma table.
  ASSERT_EQ(books[0].Lemmas.size(), 4u);
  EXPECT_EQ(books[0].Lemmas[2], std::make_pair(std::string("ἐγένετο"), std::string("γίνομαι")));

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

TEST(VerseForVersionTest, ParagraphMarksGreekAndApparatus) {
  TImportLog log;
  // Version 3 opens a paragraph with the mark itself, no blank after it.
  EXPECT_EQ(VerseForVersion({"\xC2\xB6 In the beginning", false}, 3, log), "\xC2\xB6In the beginning");
  EXPECT_EQ(VerseForVersion({"In the beginning", true}, 3, log), "\xC2\xB6In the beginning");
  EXPECT_EQ(VerseForVersion({"In the beginning", false}, 3, log), "In the beginning");
  // Other versions keep the module's text as it is.
  EXPECT_EQ(VerseForVersion({"\xC2\xB6 For God", true}, 4, log), "\xC2\xB6 For God");
  EXPECT_EQ(VerseForVersion({"⸀Ἐν ⟦ἀρχῇ⟧ ⸂ἦν⸃", false}, 9, log), "εν [[αρχη]] ην");
  EXPECT_EQ(log.Omitted, 3);
}

TEST(DictionaryEntryTest, StrongsEntryWithTwoHeadwordsIsFoundByBoth) {
  TCodePage cp("windows-1251");
  TImportLog log;
  const TCharSet letters = DictionaryLetters(TDictionaryKind::StrongsGreek);
  TDictionaryArticle article;
  ASSERT_TRUE(ConvertDictionaryEntry(
      "02316",
      "<entryFree n=\"02316\"> <orth>θεός</orth> <orth type=\"writing\">QEO/S</orth> "
      "<orth rend=\"bold\" type=\"trans\">theós</orth> <pron rend=\"italic\">theh'-os</pron><lb/>"
      "<def>a deity (with <ref target=\"StrongsGreek:3588\">G03588</ref>) |x| ~y</def></entryFree>",
      TSourceMarkup::Tei, TDictionaryKind::StrongsGreek, letters, cp, log, article));
  EXPECT_EQ(article.Text, "G2316 theos |theh'-os|~a deity (with G3588) \xA6x\xA6 -y");
  ASSERT_EQ(article.HeadwordOffsets.size(), 2u);
  EXPECT_EQ(article.HeadwordOffsets[0], 0u);
  EXPECT_EQ(article.Text.substr(article.HeadwordOffsets[1], 5), "theos");
  EXPECT_EQ(log.Omitted, 2);  // the Greek spelling beside its transliteration, the beta code

  TDictionaryArticle hebrew;
  ASSERT_TRUE(ConvertDictionaryEntry("00430", "<orth>אלהים</orth><lb/> <orth type=\"trans\">'ĕlôhîym</orth>",
                                     TSourceMarkup::Tei, TDictionaryKind::StrongsHebrew,
                                     DictionaryLetters(TDictionaryKind::StrongsHebrew), cp, log, hebrew));
  EXPECT_EQ(hebrew.Text, "H430 'elohiym");
  ASSERT_EQ(hebrew.HeadwordOffsets.size(), 2u);
  EXPECT_EQ(hebrew.Text.substr(hebrew.HeadwordOffsets[1]), "elohiym");
  // Without a transliteration the original spelling stays, in Latin letters.
  TDictionaryArticle plain;
  ASSERT_TRUE(ConvertDictionaryEntry("00001", "<orth>אב</orth> father", TSourceMarkup::Tei,
                                     TDictionaryKind::StrongsHebrew, letters, cp, log, plain));
  EXPECT_NE(plain.Text.find("father"), std::string::npos);
  EXPECT_GT(plain.Text.size(), std::string("H1 father").size());
  // Front matter without a number is no article.
  TDictionaryArticle none;
  EXPECT_FALSE(ConvertDictionaryEntry("Preface", "text", TSourceMarkup::Tei,
                                      TDictionaryKind::StrongsGreek, letters, cp, log, none));

  TTempDir dir;
  TDictionaryData data;
  data.Title = "Strong's";
  data.Letters = letters;
  data.Articles = {article, hebrew};
  WriteDictionary(dir.File("S"), data);
  TIndex index(dir.File("S.ind"), TCharSet(), dir.File("S.ibf"));
  int32_t byNumber = -1, byWord = -1;
  ASSERT_TRUE(index.Find("g2316", byNumber));
  ASSERT_TRUE(index.Find("Theos", byWord));
  EXPECT_EQ(ReadExplanations(dir.File("S.ind"), byNumber).ToVector(), std::vector<uint16_t>{1});
  EXPECT_EQ(ReadExplanations(dir.File("S.ind"), byWord).ToVector(), std::vector<uint16_t>{1});
}

TEST(DictionaryEntryTest, TopicalEntryKeepsItsKeyAndRewritesBooks) {
  TCodePage cp("windows-1251");
  TImportLog log;
  TDictionaryArticle article;
  ASSERT_TRUE(ConvertDictionaryEntry(
      "ABED-NEGO",
      "<entryFree n=\"ABED-NEGO\"><def> <lb/>→ Name of <ref osisRef=\"Dan.1.7\">Da 1:7</ref>,"
      "<ref osisRef=\"Dan.1.8\">8</ref>; <ref osisRef=\"Phil.4.13\">Php 4:13</ref>; "
      "<ref osisRef=\"1Kgs.2.3-1Kgs.2.4\">1Ki 2:3-4</ref>; <ref target=\"Nave:X\">X</ref></def></entryFree>",
      TSourceMarkup::Tei, TDictionaryKind::Plain, DictionaryLetters(TDictionaryKind::Plain), cp, log,
      article));
  EXPECT_EQ(article.Text, "ABED-NEGO~-> Name of Dan 1:7,8; Phili 4:13; 1Kgs 2:3-4; X");
  EXPECT_EQ(article.HeadwordOffsets, std::vector<size_t>{0});
}

TEST(ChapterCommandTest, ParagraphMarksOpenLines) {
  TTempDir root;
  TVersionData d;
  TVersionBook gen{1, "\xC1\xE8\xF2\xE8\xE5", "\xC1\xE8\xF2\xE8\xE5", "\xC1\xE8\xF2", {}};
  gen.Chapters = {{"\xB6One", "two", "\xB6three"}};
  d.Books = {gen};
  WriteSampleVersion(root.Path(), 3, d);
  std::ostringstream out;
  ASSERT_EQ(RunCommand({"chapter", root.Path(), "3", "Битие 1"}, out), 0);
  EXPECT_EQ(out.str(), "Битие  Голова  1\n\n1 One\n2 two\n\n3 three\n");
  DataRoot.clear();
}
