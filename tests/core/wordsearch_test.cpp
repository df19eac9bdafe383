// The word search over generated versions, checked against a plain scan of the verse texts.

#include "core/wordsearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "tests/support/testversion.h"

namespace {

// The verses (1-based) that contain every word of the text in any letter case, within the books.
std::set<uint16_t> Scan(const TVersionData& d, const std::string& text, const TCharSet& letters,
                        const TBookSet& books) {
  std::vector<std::string> wanted;
  for (const auto& w : SplitWords(text, letters)) wanted.push_back(AnsiLowerCase(w));
  std::set<uint16_t> out;
  uint16_t n = 0;
  for (const auto& b : d.Books)
    for (const auto& c : b.Chapters)
      for (const auto& v : c) {
        ++n;
        if (!books[b.Slot - 1]) continue;
        std::set<std::string> present;
        for (const auto& w : SplitWords(v, letters)) present.insert(AnsiLowerCase(w));
        if (!wanted.empty() && std::all_of(wanted.begin(), wanted.end(), [&](const auto& w) {
              return present.count(w) > 0;
            }))
          out.insert(n);
      }
  return out;
}

std::set<uint16_t> AsSet(const VerseList& l) { return std::set<uint16_t>(l.begin(), l.end()); }

class WordSearchTest : public ::testing::Test {
 protected:
  void SetUp() override { DataRoot = Dir.Path(); }
  void TearDown() override { DataRoot.clear(); }
  TTempDir Dir;
};

// A version whose words vary in case, so that one word has several spellings.
TVersionData RandomVersion(unsigned seed) {
  std::mt19937 random(seed);
  const std::vector<std::string> words = {"God", "god", "GOD", "love", "Love", "world", "light",
                                          "dark", "and", "the", "spirit", "water", "ab", "abc"};
  std::uniform_int_distribution<size_t> pick(0, words.size() - 1);
  std::uniform_int_distribution<int> count(0, 6);
  TVersionData d;
  for (uint16_t slot : {1, 22, 51, 77}) {
    TVersionBook b{slot, "B", "Book" + std::to_string(slot), "B" + std::to_string(slot), {}};
    for (int c = 0; c < 3; ++c) {
      std::vector<std::string> verses;
      for (int v = 0; v < 20; ++v) {
        std::string t;
        for (int k = count(random); k > 0; --k) t += words[pick(random)] + (k % 2 ? ", " : " ");
        verses.push_back(t);
      }
      b.Chapters.push_back(verses);
    }
    d.Books.push_back(b);
  }
  return d;
}

}  // namespace

TEST_F(WordSearchTest, ModesMatchAPlainScanOfTheTexts) {
  for (unsigned seed : {1u, 2u, 3u}) {
    TVersionData data = RandomVersion(seed);
    WriteSampleVersion(Dir.Path(), 4, data);
    TBible bible(4);
    ASSERT_FALSE(bible.DataPath.empty());
    const std::vector<std::string> texts = {"god",  "LOVE world", "light", "dark and",
                                            "water", "ab",        "abc",   "missing god",
                                            "Spirit, the"};
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> pickText(0, texts.size() - 1);
    std::uniform_int_distribution<int> pickMode(0, 3), pickBooks(0, 2);
    TWordSearch search;
    std::set<uint16_t> model;
    bool modelPresent = false;
    for (int step = 0; step < 60; ++step) {
      TBookSet books;
      books.fill(1);
      int b = pickBooks(random);
      if (b == 1) std::fill(books.begin() + 50, books.end(), 0);  // Old Testament only
      if (b == 2) books[21] = 0;                                   // without the Psalms
      search.BookSet = books;
      const std::string text = texts[pickText(random)];
      const TSearchMode mode = TSearchMode(pickMode(random));
      // Keep clear of the repeat guard: it is tested on its own.
      if (mode != TSearchMode::Only && search.StatusText.find(text) != std::string::npos) continue;
      search.Mode = mode;
      ASSERT_TRUE(search.SearchText(bible, text));
      std::set<uint16_t> words = Scan(data, text, bible.Letters, books);
      std::set<uint16_t> expected;
      switch (mode) {
        case TSearchMode::Only: expected = words; break;
        case TSearchMode::And:
          if (!modelPresent) expected = words;
          else std::set_intersection(words.begin(), words.end(), model.begin(), model.end(),
                                     std::inserter(expected, expected.end()));
          break;
        case TSearchMode::Or:
          expected = words;
          if (modelPresent) expected.insert(model.begin(), model.end());
          break;
        case TSearchMode::Without:
          std::set_difference(model.begin(), model.end(), words.begin(), words.end(),
                              std::inserter(expected, expected.end()));
          break;
      }
      bool present = !(mode == TSearchMode::Without && !modelPresent);
      ASSERT_EQ(search.Found.Present(), present) << "seed " << seed << " step " << step;
      ASSERT_EQ(AsSet(search.Found), expected) << "seed " << seed << " step " << step << " " << text;
      model = expected;
      modelPresent = present;
    }
  }
}

TEST_F(WordSearchTest, ExpressionStatusAndMarkedWords) {
  auto b = [](const char* s) { return Utf8ToCp1251(s); };
  TVersionData d;
  TVersionBook gen{1, b("Битие"), b("Битие"), b("Бит"), {}};
  gen.Chapters = {{b("Бог и Дух"), b("бог над земя"), b("Дух Божий"), b("бог, дух и земя")}};
  d.Books = {gen};
  WriteSampleVersion(Dir.Path(), 0, d);
  TBible bible(0);
  TWordSearch search;
  EXPECT_TRUE(search.SearchText(bible, b("бог")));
  EXPECT_EQ(Cp1251ToUtf8(search.StatusText), "бог | 3");
  search.Mode = TSearchMode::And;
  EXPECT_TRUE(search.SearchText(bible, b("дух")));
  search.Mode = TSearchMode::Without;
  EXPECT_TRUE(search.SearchText(bible, b("земя")));
  EXPECT_EQ(Cp1251ToUtf8(search.StatusText), "бог + дух -(земя) | 1");
  EXPECT_EQ(search.Found.ToVector(), std::vector<uint16_t>{1});
  // The words as the word list spells them, then each text in lower case.
  ASSERT_EQ(search.MarkWords.size(), 6u);
  EXPECT_EQ(Cp1251ToUtf8(search.MarkWords[0]), "бог");
  EXPECT_EQ(Cp1251ToUtf8(search.MarkWords[1]), "бог");
  EXPECT_EQ(Cp1251ToUtf8(search.MarkWords[2]), "дух");

  // The same text again right after it was applied changes nothing.
  const std::string status = search.StatusText;
  EXPECT_FALSE(search.SearchText(bible, b("земя")));
  EXPECT_EQ(search.StatusText, status);
  EXPECT_EQ(search.Found.ToVector(), std::vector<uint16_t>{1});

  // "само" restarts the expression and the marked words.
  search.SetModeOnly();
  EXPECT_TRUE(search.SearchText(bible, b("ДУХ")));
  EXPECT_EQ(Cp1251ToUtf8(search.StatusText), "ДУХ | 3");
  EXPECT_EQ(search.MarkWords.size(), 2u);
}

TEST_F(WordSearchTest, MissingWordsTextsWithoutLettersAndFirstWithout) {
  WriteSampleVersion(Dir.Path(), 4, EnglishSample());
  TBible bible(4);
  TWordSearch first;
  first.Mode = TSearchMode::Without;
  first.SearchText(bible, "God");
  EXPECT_TRUE(first.Found.Absent());
  EXPECT_EQ(first.StatusText, "");

  TWordSearch search;
  search.SearchText(bible, "God");
  const std::string status = search.StatusText;
  ASSERT_GT(search.Found.Count(), 0);
  // A text without a letter forms no set: the status stays.
  search.SearchText(bible, "12 :: 3");
  EXPECT_TRUE(search.Found.Absent());
  EXPECT_EQ(search.StatusText, status);
  // A first word the version lacks ends the lookup; the second is not marked.
  search.SearchText(bible, "zzzz God");
  EXPECT_EQ(search.Found.Count(), 0);
  EXPECT_EQ(search.StatusText, "zzzz God | 0");
  ASSERT_EQ(search.MarkWords.size(), 1u);
  EXPECT_EQ(search.MarkWords[0], "zzzz god");
  // A word that sorts after every word of the list.
  search.SearchText(bible, "zzzzzz");
  EXPECT_EQ(search.Found.Count(), 0);
  // A prefix of a word is not that word.
  search.SearchText(bible, "begin");
  EXPECT_EQ(search.Found.Count(), 0);
}

TEST_F(WordSearchTest, MarkWordsStopAtThirty) {
  WriteSampleVersion(Dir.Path(), 4, EnglishSample());
  TBible bible(4);
  TWordSearch search;
  search.SearchText(bible, "the");
  search.Mode = TSearchMode::Or;
  for (const char* w : {"God", "earth", "heaven", "and", "Lord", "shepherd", "love", "world",
                        "created", "beginning", "In", "Gen", "Ps", "Jn", "For", "so", "loved",
                        "he", "gave", "his", "only", "begotten", "Son", "that"})
    search.SearchText(bible, w);
  EXPECT_EQ(search.MarkWords.size(), 30u);
}

TEST_F(WordSearchTest, EachSessionKeepsItsOwnWordsToColour) {
  WriteSampleVersion(Dir.Path(), 4, EnglishSample());
  TBible bible(4);
  TWordSearch first, second;
  first.SearchText(bible, "God");
  second.SearchText(bible, "love");
  EXPECT_EQ(first.MarkWords, (std::vector<std::string>{"god", "god"}));
  EXPECT_EQ(second.MarkWords, (std::vector<std::string>{"love", "love"}));
}

TEST_F(WordSearchTest, MissingConcordanceGivesEmptySets) {
  std::string folder = WriteSampleVersion(Dir.Path(), 4, EnglishSample());
  std::filesystem::remove(folder + "ConcP.bin");
  TBible bible(4);
  TWordSearch search;
  search.SearchText(bible, "God");
  EXPECT_TRUE(search.Found.Present());
  EXPECT_EQ(search.Found.Count(), 0);
  EXPECT_EQ(search.StatusText, "God | 0");
}

TEST(SplitWordsTest, MaximalRunsOfLetters) {
  TCharSet letters;
  for (int c = 'a'; c <= 'z'; ++c) letters.set(size_t(c));
  EXPECT_EQ(SplitWords("ab, c--de f", letters), (std::vector<std::string>{"ab", "c", "de", "f"}));
  EXPECT_TRUE(SplitWords(" ,.1 ", letters).empty());
}

// Footnotes are not the verse's text: a word only in a note finds nothing, and the words of the
// text around a note are found as usual. An unclosed "{" is text.
TEST_F(WordSearchTest, FootnoteWordsAreNotInTheConcordance) {
  TVersionData d;
  TVersionBook gen{1, "Genesis", "Genesis", "Gen", {}};
  gen.Chapters = {{"In the beginning {Or, at first love} God created.",
                   "And love {love: Heb. charity} was {a note} there.", "Open {brace love"}};
  d.Books = {gen};
  WriteSampleVersion(Dir.Path(), 4, d);
  TBible bible(4);
  TWordSearch search;
  ASSERT_TRUE(search.SearchText(bible, "love"));
  EXPECT_EQ(AsSet(search.Found), (std::set<uint16_t>{2, 3}));
  search.SearchText(bible, "charity");
  EXPECT_EQ(search.Found.Count(), 0);
  search.SearchText(bible, "created");
  EXPECT_EQ(AsSet(search.Found), (std::set<uint16_t>{1}));
  search.SearchText(bible, "there");
  EXPECT_EQ(AsSet(search.Found), (std::set<uint16_t>{2}));
  EXPECT_EQ(SplitWords("a {b} c", bible.Letters).size(), 3u);  // the splitter itself is unchanged
}

// Files of a version that disagree (the text file cut at any point, an index pointing beyond its
// data) name the damaged file; every verse still readable reads as before, the others read as
// empty without an error, and no search lists them.
TEST_F(WordSearchTest, ADamagedVersionNamesItsFileAndListsNoUnreadableVerse) {
  const TVersionData d = RandomVersion(11);
  const std::string folder = WriteSampleVersion(Dir.Path(), 4, d);
  std::vector<std::string> whole;
  std::set<uint16_t> all;
  {
    TBible bible(4);
    EXPECT_EQ(bible.DamagedFile, "");
    whole = ReadVerses(bible, 1, bible.VerseCount);
    TBookSet books;
    books.fill(1);
    all = Scan(d, "god", bible.Letters, books);
  }
  const std::string text = ReadFileBytes(folder + "CompactText.bin");
  auto write = [](const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  };
  for (size_t cut : {size_t(0), text.size() / 3, text.size() / 2, text.size() - 1}) {
    write(folder + "CompactText.bin", text.substr(0, cut));
    TBible bible(4);
    EXPECT_EQ(bible.DamagedFile, "CompactText.bin") << cut;
    EXPECT_FALSE(bible.UnreadableVerses.empty());
    for (int n = 1; n <= bible.VerseCount; ++n)
      EXPECT_EQ(ReadVerse(bible, n), bible.Unreadable(n) ? "" : whole[size_t(n - 1)]) << n;
    TWordSearch search;
    search.SearchText(bible, "god");
    std::set<uint16_t> expected;
    for (uint16_t n : all)
      if (!bible.Unreadable(n)) expected.insert(n);
    const std::vector<uint16_t> found = search.Found.ToVector();
    EXPECT_EQ(std::set<uint16_t>(found.begin(), found.end()), expected) << cut;
  }
  write(folder + "CompactText.bin", text);
  const std::string sets = ReadFileBytes(folder + "ConcP.bin");
  write(folder + "ConcP.bin", sets + std::string("\xFF\xFF\xFF\x0F", 4));
  EXPECT_EQ(TBible(4).DamagedFile, "Conc.bin");
  write(folder + "ConcP.bin", sets);
  const std::string words = ReadFileBytes(folder + "WordPoint.bin");
  write(folder + "WordPoint.bin", words + std::string("\xFF\xFF\xFF\x0F", 4));
  EXPECT_EQ(TBible(4).DamagedFile, "WordList.txt");
}
