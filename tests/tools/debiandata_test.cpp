// An import of the real Debian data (sword-text-kjv, the Strong's and Nave's dictionaries,
// bibledit-data's MorphGNT), checked through the core's own readers. Skipped when not installed.

#include <gtest/gtest.h>

#include <swmgr.h>
#include <swmodule.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/dictionarychoice.h"
#include "core/tindex.h"
#include "core/tinfofile.h"
#include "core/versionwriter.h"
#include "core/wordsearch.h"
#include "tests/support/testversion.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"
#include "tools/bible-tool/tmorphgnt.h"
#include "tools/bible-tool/tswordimport.h"

namespace {

const char* const MorphGntFolder = "/usr/share/bibledit/sources/morphgnt";

bool HaveModule(const char* name) {
  sword::SWMgr mgr;
  return mgr.getModule(name) != nullptr;
}

// The module's own plain text of a verse.
std::string PlainModuleText(const char* reference) {
  sword::SWMgr mgr;
  sword::SWModule* m = mgr.getModule("engKJV2006eb");
  m->setKey(reference);
  return m->stripText();
}

// Verse text without the view's markup: no italics marks, no footnotes, blanks collapsed.
std::string WithoutMarkup(const std::string& s) {
  std::string out;
  int braces = 0;
  for (char c : s) {
    if (c == '{') ++braces;
    else if (c == '}' && braces > 0) --braces;
    else if (braces == 0 && c != '|') out.push_back(c == '~' ? ' ' : c);
  }
  std::string tidy;
  for (char c : out)
    if (!(c == ' ' && (tidy.empty() || tidy.back() == ' '))) tidy.push_back(c);
  while (!tidy.empty() && tidy.back() == ' ') tidy.pop_back();
  return tidy;
}

class DebianDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!HaveModule("engKJV2006eb")) return;
    Root = std::make_unique<TTempDir>();
    TImportLog log;
    // As the importer writes it, with its form groups.
    WriteImportedVersion(Root->Path() + "KJV/", ReadSwordBible("KJV", 4, log), 4);
    WriteVersionFolder(Root->Path() + "KJVSN/", ReadSwordBible("engKJV2006eb", 5, log),
                       VersionLetters(5));
    std::filesystem::create_directories(Root->Path() + "Dictionaries");
    for (const char* m : {"StrongsGreek", "StrongsHebrew", "Nave"})
      if (HaveModule(m))
        WriteDictionary(Root->Path() + "Dictionaries/" + m, ReadSwordDictionary(m, log));
    Imported = true;
  }
  static void TearDownTestSuite() { Root.reset(); }
  void SetUp() override {
    if (!Imported) GTEST_SKIP() << "sword-text-kjv is not installed; real-data checks skipped";
    DataRoot = Root->Path();
  }
  void TearDown() override { DataRoot.clear(); }

  static std::unique_ptr<TTempDir> Root;
  static bool Imported;
};

std::unique_ptr<TTempDir> DebianDataTest::Root;
bool DebianDataTest::Imported = false;

}  // namespace

TEST_F(DebianDataTest, KjvHasTheWholeProtestantCanon) {
  TBible kjv(4);
  ASSERT_FALSE(kjv.DataPath.empty());
  EXPECT_EQ(kjv.BookCount, 66);
  EXPECT_EQ(kjv.VerseCount, 31102);
  EXPECT_EQ(kjv.BookOrder[1], 1);
  EXPECT_EQ(kjv.BookOrder[19], 22);  // Psalms
  EXPECT_EQ(kjv.BookOrder[40], 51);  // Matthew opens the New Testament
  EXPECT_EQ(kjv.BookOrder[66], 77);
  EXPECT_EQ(kjv.BookAt(11).Name, "1 Kings");
  EXPECT_EQ(kjv.BookAt(1).ShortName, "Gen");
}

TEST_F(DebianDataTest, VersesReadBackAsTheModulesPlainText) {
  TBible kjv(4);
  TCodePage cp("windows-1251");
  int p = 1, c = 1, v = 1;
  ASSERT_TRUE(ParseReference(kjv, "John 3:16", p, c, v));
  EXPECT_EQ(WithoutMarkup(ReadVerseAt(kjv, p, c, v)),
            WithoutMarkup(cp.Encode(PlainModuleText("John 3:16"))));
  EXPECT_EQ(ReadVerse(kjv, 1), "In the beginning God created the heaven and the earth.");
  EXPECT_EQ(WithoutMarkup(ReadVerse(kjv, 1)), WithoutMarkup(PlainModuleText("Gen 1:1")));
  // Whole chapters, notes and added words included.
  for (const char* chapter : {"Genesis 1", "Genesis 2", "John 1", "John 3", "Romans 8"}) {
    ASSERT_TRUE(ParseReference(kjv, chapter, p, c, v)) << chapter;
    for (int k = 1; k <= kjv.ChapterVerses(p, c); ++k) {
      std::string ref = std::string(chapter) + ":" + std::to_string(k);
      EXPECT_EQ(WithoutMarkup(ReadVerseAt(kjv, p, c, k)),
                WithoutMarkup(cp.Encode(PlainModuleText(ref.c_str()))))
          << ref;
    }
  }
  EXPECT_NE(ReadVerseAt(kjv, 1, 1, 5).find(" {And the evening"), std::string::npos);
}

namespace {

// Each lower-cased word of the verse texts with its verses; the footnotes, "{" to "}", left out.
std::map<std::string, std::set<uint16_t>> ScanWords(const TBible& bible) {
  std::map<std::string, std::set<uint16_t>> scan;
  for (int n = 1; n <= bible.VerseCount; ++n) {
    std::string text = ReadVerse(bible, n);
    for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open)) {
      size_t close = text.find('}', open);
      if (close == std::string::npos) break;
      text.erase(open, close - open + 1);
    }
    for (const std::string& w : SplitWords(text, bible.Letters)) scan[AnsiLowerCase(w)].insert(uint16_t(n));
  }
  return scan;
}

}  // namespace

TEST_F(DebianDataTest, WordListAndConcordanceEqualAPlainScan) {
  TBible kjv(4);
  std::map<std::string, std::set<uint16_t>> scan = ScanWords(kjv);
  EXPECT_EQ(scan["love"].size(), 281u);
  TInfoFile words(kjv.DataPath + "WordPoint.bin", kjv.DataPath + "WordList.txt");
  ASSERT_EQ(words.Count(), int32_t(scan.size()));
  std::string previous;
  for (int32_t i = 0; i < words.Count(); ++i) {
    std::string w = words.ReadLine(i);
    ASSERT_EQ(w, AnsiLowerCase(w));
    ASSERT_LT(CompareBytes(previous, w), i == 0 ? 1 : 0) << w;
    previous = w;
  }
  std::vector<std::string> probes = {"god", "lord", "love", "world", "jesus", "selah", "and",
                                     "begotten", "shepherd", "amen", "alpha", "omega", "zion",
                                     "melchizedek", "a", "i", "o", "caesar", "lamb", "bread"};
  for (int32_t i = 0; i < words.Count(); i += words.Count() / 25) probes.push_back(words.ReadLine(i));
  for (const std::string& w : probes) {
    int32_t line = words.FindLine(AnsiUpperCase(w));
    ASSERT_GE(line, 0);
    ASSERT_EQ(words.ReadLine(line), w);
    VerseList verses = LoadWordVerses(kjv, line);
    EXPECT_EQ(std::set<uint16_t>(verses.begin(), verses.end()), scan[w]) << w;
  }
}

TEST_F(DebianDataTest, AllFormsAndPrefixesEqualAScanOfTheirWords) {
  TBible kjv(4);
  const auto scan = ScanWords(kjv);
  auto verses = [&scan](const std::set<std::string>& words) {
    std::set<uint16_t> out;
    for (const std::string& w : words)
      if (scan.count(w)) out.insert(scan.at(w).begin(), scan.at(w).end());
    return out;
  };
  auto found = [](const TWordSearch& s) { return std::set<uint16_t>(s.Found.begin(), s.Found.end()); };
  TWordSearch search;
  search.Forms = true;
  search.SearchText(kjv, "love");
  const std::set<std::string> love = {"love",   "loved",  "loves",  "loveth",
                                      "lovest", "loving", "lovedst"};
  EXPECT_EQ(std::set<std::string>(search.MatchedForms.begin(), search.MatchedForms.end()), love);
  EXPECT_EQ(found(search), verses(love));
  EXPECT_EQ(StatusWithForms(search, search.StatusText),
            "love (7 форми) | " + std::to_string(verses(love).size()));
  search.Forms = false;
  search.SearchText(kjv, "love");
  EXPECT_EQ(search.Found.Count(), 281);
  // A prefix is every word it begins, with the exact search or with all forms.
  for (bool forms : {false, true}) {
    search.Forms = forms;
    search.SearchText(kjv, "Bless*");
    std::set<std::string> bless;
    for (const auto& entry : scan)
      if (entry.first.rfind("bless", 0) == 0) bless.insert(entry.first);
    EXPECT_GE(bless.size(), 7u);
    EXPECT_EQ(std::set<std::string>(search.MatchedForms.begin(), search.MatchedForms.end()), bless);
    EXPECT_EQ(found(search), verses(bless));
  }
}

TEST_F(DebianDataTest, StrongsNumbersAreWordsOfVersionFiveAndHeadwords) {
  TBible kjvsn(5);
  ASSERT_FALSE(kjvsn.DataPath.empty());
  EXPECT_EQ(ReadVerse(kjvsn, 1),
            "In the beginning H7225 God H430 created H1254 the heaven H8064 and H853 the earth H776.");
  TWordSearch search;
  search.SearchText(kjvsn, "G2316 G26");
  ASSERT_GT(search.Found.Count(), 0);
  TBible kjv(4);
  EXPECT_EQ(VerseReference(kjv, search.Found[1], false), "Luke 11:42");

  TDictionaryChoice choice;
  choice.LoadDictionaryList(DataRoot + "Dictionaries/");
  if (choice.DictionaryList.size() < 3) GTEST_SKIP() << "dictionaries not installed";
  ASSERT_TRUE(choice.FindDictionary("G2316"));
  const std::string greek = choice.CandidateDictionary;
  EXPECT_EQ(std::filesystem::path(greek).filename(), "StrongsGreek.ind");
  TIndex index(greek, TCharSet(), ChangeFileExt(greek, ".ibf"));
  int32_t entry = 0;
  ASSERT_TRUE(index.Find("g2316", entry));
  VerseList articles = ReadExplanations(greek, entry);
  ASSERT_EQ(articles.Count(), 1);
  std::string article = ReadArticle(greek, articles[1]);
  EXPECT_EQ(article.rfind("G2316 theos", 0), 0u) << article;
  // The transliterated word is a second headword of the same article.
  ASSERT_TRUE(index.Find("THEOS", entry));
  VerseList byWord = ReadExplanations(greek, entry);
  EXPECT_NE(std::find(byWord.begin(), byWord.end(), articles[1]), byWord.end());
  ASSERT_TRUE(choice.FindDictionary("H430"));
  EXPECT_EQ(std::filesystem::path(choice.CandidateDictionary).filename(), "StrongsHebrew.ind");
  // Every headword of every dictionary is found again by its own index.
  for (const auto& [title, path] : choice.DictionaryList) {
    TIndex all(path, TCharSet(), ChangeFileExt(path, ".ibf"));
    ASSERT_GT(all.Count(), 1000) << title;
    std::string previous;
    for (int32_t k = 0; k < all.Count(); ++k) {
      std::string w = AnsiLowerCase(all.Word(k));
      ASSERT_FALSE(w.empty()) << title << " " << k;
      ASSERT_LT(CompareBytes(previous, w), k == 0 ? 1 : 0) << title << " " << w;
      previous = w;
      if (k % 97 == 0) {
        int32_t at = -1;
        EXPECT_TRUE(all.Find(w, at)) << w;
        EXPECT_EQ(at, k);
        EXPECT_GT(ReadExplanations(path, k).Count(), 0);
      }
    }
  }
}

TEST_F(DebianDataTest, ReferencesInArticlesParseInVersionFour) {
  TBible kjv(4);
  TDictionaryChoice choice;
  choice.LoadDictionaryList(DataRoot + "Dictionaries/");
  if (!choice.FindDictionary("Aaron")) GTEST_SKIP() << "sword-dict-naves is not installed";
  TIndex index(choice.CandidateDictionary, TCharSet(),
               ChangeFileExt(choice.CandidateDictionary, ".ibf"));
  int32_t entry = 0;
  ASSERT_TRUE(index.Find("aaron", entry));
  std::string article = ReadArticle(choice.CandidateDictionary, ReadExplanations(choice.CandidateDictionary, entry)[1]);
  for (const char* ref : {"Exod 6:16-20", "Josh 21:4", "1Chr 6:2", "Ps 77:20", "Heb 5:4"})
    EXPECT_NE(article.find(ref), std::string::npos) << ref;
  // Every book's own abbreviation and name lead back to the book.
  for (int p = 1; p <= kjv.BookCount; ++p) {
    for (const std::string& name : {kjv.BookAt(p).ShortName, kjv.BookAt(p).Name}) {
      int pos = 0, c = 0, v = 0;
      ASSERT_TRUE(ParseReference(kjv, name + " 1:2", pos, c, v)) << name;
      EXPECT_EQ(pos, p) << name;
      EXPECT_EQ(c, 1);
      EXPECT_EQ(v, 2);
    }
  }
}

TEST(MorphGntDataTest, GreekVersionWordsAreLettersOfTheVersion) {
  if (!std::filesystem::is_directory(MorphGntFolder))
    GTEST_SKIP() << "bibledit-data is not installed; MorphGNT checks skipped";
  TTempDir root;
  DataRoot = root.Path();
  ASSERT_EQ(RunImportCommand({"import-morphgnt", MorphGntFolder, root.Path()}, false), 0);
  TBible gr(9);
  ASSERT_FALSE(gr.DataPath.empty());
  EXPECT_EQ(gr.BookCount, 27);
  // The Western verse numbering, verses the edition omits kept as empty places.
  EXPECT_GT(gr.VerseCount, 7900);
  EXPECT_LE(gr.VerseCount, 7957);
  TCodePage cp("windows-1253");
  int p = 1, c = 1, v = 1;
  ASSERT_TRUE(ParseReference(gr, "\xC9\xEE\xE0\xED 1:1", p, c, v));  // "Йоан" in windows-1251
  EXPECT_EQ(cp.Decode(ReadVerseAt(gr, p, c, v)),
            "εν αρχη ην ο λογος, και ο λογος ην προς τον θεον, και θεος ην ο λογος.");
  // Greek letters of windows-1253 (0xB8..0xFE) in the text are all lower-case unaccented ones.
  for (int n = 1; n <= gr.VerseCount; ++n)
    for (unsigned char b : ReadVerse(gr, n))
      ASSERT_TRUE(b < 0xB8 || gr.Letters.test(b)) << n << " byte " << int(b);
  DataRoot.clear();
}
