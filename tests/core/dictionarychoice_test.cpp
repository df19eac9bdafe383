// The dictionary choice and the reading of explanation lists over generated dictionaries.

#include "core/dictionarychoice.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/cp1251.h"
#include "core/dictionarywriter.h"
#include "tests/support/testversion.h"

namespace {

TCharSet LatinLetters() {
  TCharSet l;
  for (int c = 'A'; c <= 'Z'; ++c) l.set(size_t(c));
  for (int c = 'a'; c <= 'z'; ++c) l.set(size_t(c));
  return l;
}

TDictionaryArticle Article(const std::string& text, std::vector<size_t> offsets = {0}) {
  return TDictionaryArticle{text, offsets};
}

class DictionaryChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TDictionaryData latin;
    latin.Title = "Beta";
    latin.Letters = LatinLetters();
    latin.Articles = {Article("alpha~first"), Article("beta~second"),
                      Article("Alpha~again, and beta", {0, 17}), Article("gamma~third")};
    WriteDictionary(Dir.File("latin"), latin);

    TDictionaryData cyrillic;
    cyrillic.Title = "Alpha";
    for (int c = 0xC0; c <= 0xFF; ++c) cyrillic.Letters.set(size_t(c));
    cyrillic.Letters |= LatinLetters();
    cyrillic.Articles = {Article(Utf8ToCp1251("бог~Бог")), Article("gamma~in both")};
    WriteDictionary(Dir.File("cyrillic"), cyrillic);
    Choice.LoadDictionaryList(Dir.Path());
  }
  TTempDir Dir;
  TDictionaryChoice Choice;
};

}  // namespace

TEST_F(DictionaryChoiceTest, ListIsSortedByTitle) {
  ASSERT_EQ(Choice.DictionaryList.size(), 2u);
  EXPECT_EQ(Choice.DictionaryList[0].first, "Alpha");
  EXPECT_EQ(Choice.DictionaryList[0].second, Dir.File("cyrillic.ind"));
  EXPECT_EQ(Choice.DictionaryList[1].first, "Beta");
  EXPECT_EQ(DictionaryTitle(Dir.File("latin.ind")), "Beta");
}

TEST_F(DictionaryChoiceTest, FindDictionaryChoosesTheFirstThatHoldsTheWord) {
  EXPECT_TRUE(Choice.FindDictionary("BETA"));
  EXPECT_EQ(Choice.CandidateDictionary, Dir.File("latin.ind"));
  EXPECT_TRUE(Choice.FindDictionary(Utf8ToCp1251("БОГ")));
  EXPECT_EQ(Choice.CandidateDictionary, Dir.File("cyrillic.ind"));
  // Both hold it: the first by title wins.
  EXPECT_TRUE(Choice.FindDictionary("gamma"));
  EXPECT_EQ(Choice.CandidateDictionary, Dir.File("cyrillic.ind"));
  // Nobody holds it: the last dictionary whose letters cover the word.
  EXPECT_FALSE(Choice.FindDictionary("delta"));
  EXPECT_EQ(Choice.CandidateDictionary, Dir.File("latin.ind"));
  // Letters no dictionary has keep the earlier candidate.
  EXPECT_FALSE(Choice.FindDictionary("x-ray"));
  EXPECT_EQ(Choice.CandidateDictionary, Dir.File("latin.ind"));
  EXPECT_FALSE(Choice.FindDictionary(""));

  TDictionaryChoice none;
  none.LoadDictionaryList(Dir.File("no-such-folder/"));
  EXPECT_TRUE(none.DictionaryList.empty());
  EXPECT_FALSE(none.FindDictionary("alpha"));
}

TEST_F(DictionaryChoiceTest, ExplanationsListEveryArticleOfTheWord) {
  const std::string path = Dir.File("latin.ind");
  // Index order: alpha, beta, gamma; alpha and beta each have two articles.
  VerseList alpha = ReadExplanations(path, 0);
  EXPECT_EQ(alpha.ToVector(), (std::vector<uint16_t>{1, 3}));
  VerseList beta = ReadExplanations(path, 1);
  EXPECT_EQ(beta.ToVector(), (std::vector<uint16_t>{2, 3}));
  EXPECT_EQ(ReadArticle(path, beta[2]), "Alpha~again, and beta");
  EXPECT_TRUE(ReadExplanations(path, 3).Absent());
  EXPECT_TRUE(ReadExplanations(path, -1).Absent());

  EXPECT_EQ(ClampExplanationNumber(alpha, 0), 1);
  EXPECT_EQ(ClampExplanationNumber(alpha, 2), 2);
  EXPECT_EQ(ClampExplanationNumber(alpha, 7), 2);
  EXPECT_EQ(ClampExplanationNumber(VerseList(), 3), 1);
}

TEST_F(DictionaryChoiceTest, DamagedExplanationListKeepsWhatItHolds) {
  // One record claiming 5 articles but holding 1, and one of a single byte.
  WriteRecordPair(Dir.File("latinC.ibp"), Dir.File("latinC.ibf"),
                  {std::string("\x05\x00\x02\x00", 4), std::string("\x01", 1)});
  VerseList l = ReadExplanations(Dir.File("latin.ind"), 0);
  EXPECT_EQ(l.ToVector(), std::vector<uint16_t>{2});
  EXPECT_TRUE(ReadExplanations(Dir.File("latin.ind"), 1).Absent());
}

// A user's own dictionaries come before the installed ones; one of the same file name hides the
// installed copy, the others stay.
TEST_F(DictionaryChoiceTest, UsersOwnFolderComesFirstAndHidesTheSameFile) {
  TTempDir own;
  TDictionaryData mine;
  mine.Title = "Mine";
  mine.Letters = LatinLetters();
  mine.Articles = {Article("delta~fourth")};
  WriteDictionary(own.File("latin"), mine);
  TDictionaryChoice both;
  both.LoadDictionaryList(std::vector<std::string>{own.Path(), Dir.Path(), own.File("missing/")});
  ASSERT_EQ(both.DictionaryList.size(), 2u);
  EXPECT_EQ(both.DictionaryList[0].second, Dir.File("cyrillic.ind"));
  EXPECT_EQ(both.DictionaryList[1].first, "Mine");
  EXPECT_EQ(both.DictionaryList[1].second, own.File("latin.ind"));
  EXPECT_TRUE(both.FindDictionary("delta"));
  EXPECT_FALSE(both.FindDictionary("beta"));
}

// A word of the Greek version is looked up by the headword of its lemma from the version's table,
// then by its own letters in the Latin of the Greek lexicon's headwords.
TEST_F(DictionaryChoiceTest, GreekWordsAreLookedUpByLemmaThenByTheLexiconsLatin) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"θεος", "theos"},         {"θεός", "theos"},   {"ΘΕΟΣ", "theos"},
      {"αγγελος", "angelos"},    {"ευαγγελιον", "euangelion"},
      {"χριστος", "christos"},   {"ψυχη", "psyche"},  {"ουρανου", "ouranou"},
      {"φως", "phos"},           {"ξυλον", "xylon"},  {"theos", ""}, {"θεος1", ""}};
  for (const auto& [word, headword] : cases) EXPECT_EQ(GreekHeadword(Greek(word)), headword) << word;

  std::ofstream(Dir.File("Lemmas.txt"), std::ios::binary)
      << Greek("ηγαπησεν") << "\tagapao\r\n" << Greek("θεον") << "\ttheos\r\nbroken line\r\n";
  EXPECT_EQ(LemmaHeadword(Dir.File("Lemmas.txt"), Greek("ηγαπησεν")), "agapao");
  EXPECT_EQ(LemmaHeadword(Dir.File("missing.txt"), Greek("ηγαπησεν")), "");
  EXPECT_EQ(LookUpForms(Greek("ηγαπησεν"), true, Dir.File("Lemmas.txt")),
            (std::vector<std::string>{"agapao", "egapesen"}));
  EXPECT_EQ(LookUpForms(Greek("θεον"), true, Dir.File("Lemmas.txt")),
            (std::vector<std::string>{"theos", "theon"}));
  EXPECT_EQ(LookUpForms(Greek("λογος"), true, Dir.File("Lemmas.txt")),
            (std::vector<std::string>{"logos"}));
  EXPECT_EQ(LookUpForms("G2316", false, Dir.File("Lemmas.txt")), (std::vector<std::string>{"G2316"}));
  // A table written again is read again.
  std::ofstream(Dir.File("Lemmas.txt"), std::ios::binary | std::ios::trunc)
      << Greek("ηγαπησεν") << "\tagape\r\n";
  std::filesystem::last_write_time(Dir.File("Lemmas.txt"),
                                   std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
  EXPECT_EQ(LemmaHeadword(Dir.File("Lemmas.txt"), Greek("ηγαπησεν")), "agape");
}
