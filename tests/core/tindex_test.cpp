#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/dictionarywriter.h"
#include "core/tfile.h"
#include "core/tindex.h"
#include "core/tinfofile.h"
#include "core/verselist.h"
#include "tests/support/testversion.h"

namespace {

std::string B(const char* s) { return Utf8ToCp1251(s); }

class Dictionary : public ::testing::Test {
 protected:
  void SetUp() override { WriteDictionary(Dir.File("Bib"), SampleDictionary()); }
  TTempDir Dir;
};

}  // namespace

TEST_F(Dictionary, HeadwordsAreSortedAndFound) {
  TIndex index(Dir.File("Bib.ind"), TCharSet(), Dir.File("Bib.ibf"));
  ASSERT_FALSE(index.Failed);
  ASSERT_EQ(index.Count(), 4);  // Авраам is the headword of two articles
  EXPECT_EQ(index.Word(0), B("АВРААМ"));
  EXPECT_EQ(index.Word(1), B("Бабел"));
  EXPECT_EQ(index.Word(2), B("БЕТЛЕХЕМ"));
  EXPECT_EQ(index.Word(3), B("ВАВИЛОН"));
  EXPECT_EQ(index.Word(4), "");
  EXPECT_EQ(index.Word(-1), "");
  int32_t at = -1;
  EXPECT_TRUE(index.Find(B("авраам"), at));
  EXPECT_EQ(at, 0);
  EXPECT_TRUE(index.Find(B("Вавилон"), at));
  EXPECT_EQ(at, 3);
  EXPECT_FALSE(index.Find(B("Бв"), at));
  EXPECT_EQ(at, 2);
  EXPECT_FALSE(index.Find(B("Ба"), at));  // a proper prefix sorts first
  EXPECT_EQ(at, 1);
  EXPECT_FALSE(index.Find(B("Яхве"), at));
  EXPECT_EQ(at, 4);
  EXPECT_FALSE(index.Find("abraham", at));  // not a letter of this dictionary
  EXPECT_EQ(at, 0);
  EXPECT_TRUE(index.Find("", at));
  // The explanation list of Авраам names both articles, in article order.
  TInfoFile lists(Dir.File("BibC"));
  const auto block = lists.ReadBlock(0);
  ASSERT_EQ(block.size(), 6u);
  EXPECT_EQ(GetU16(&block[0]), 2);
  EXPECT_EQ(GetU16(&block[2]), 1);
  EXPECT_EQ(GetU16(&block[4]), 3);
  TInfoFile text(Dir.File("Bib"));
  EXPECT_EQ(text.ReadRecord(0), B("Библейски речник"));
}

TEST_F(Dictionary, HeadwordReadingIsBoundedAndKeepsThePosition) {
  TDictionaryData d;
  for (int c = 'a'; c <= 'z'; ++c) d.Letters.set(size_t(c));
  d.Articles.push_back({std::string(40, 'x') + " tail", {0}});
  d.Articles.push_back({"word,comma", {0}});
  WriteDictionary(Dir.File("Long"), d);
  TLargeStringList1 list(Dir.File("Long.xyz"));
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.Get(0), "word");
  EXPECT_EQ(list.Get(1), std::string(32, 'x'));
  EXPECT_EQ(list.GetWord(1), list.Get(1));
  EXPECT_EQ(list.IndexOf("WORD"), 0);
  EXPECT_EQ(list.IndexOf("x"), 1);
  EXPECT_EQ(list.IndexOf("zz"), 2);
  EXPECT_TRUE(list.GetLetters().test('q'));
}

TEST_F(Dictionary, MissingOrShortFilesGiveNoEntries) {
  std::filesystem::resize_file(Dir.File("Bib.ind"), 34);
  TIndex shortIndex(Dir.File("Bib.ind"), TCharSet(), Dir.File("Bib.ibf"));
  EXPECT_FALSE(shortIndex.Failed);
  EXPECT_EQ(shortIndex.Count(), 0);
  std::filesystem::resize_file(Dir.File("Bib.ind"), 20);
  TCharSet extra;
  extra.set('!');
  TIndex tiny(Dir.File("Bib.ind"), extra, Dir.File("Bib.ibf"));
  EXPECT_EQ(tiny.Count(), 0);
  EXPECT_EQ(tiny.Letters, extra);
  TIndex noText(Dir.File("Bib.ind"), TCharSet(), Dir.File("None.ibf"));
  EXPECT_TRUE(noText.Failed);
  int32_t at = 5;
  EXPECT_FALSE(noText.Find("x", at));
  EXPECT_EQ(at, 0);
  EXPECT_EQ(noText.Word(0), "");
  EXPECT_FALSE(FileExists(Dir.File("None.ibf")));
}

TEST_F(Dictionary, OffsetsBeyondTheTextGiveEmptyHeadwords) {
  std::string ind(32, '\xFF');
  PutI32(ind, 1 << 30);
  PutI32(ind, -5);
  std::ofstream(Dir.File("Bad.ind"), std::ios::binary) << ind;
  TIndex index(Dir.File("Bad.ind"), TCharSet(), Dir.File("Bib.ibf"));
  ASSERT_EQ(index.Count(), 2);
  EXPECT_EQ(index.Word(0), "");
  EXPECT_EQ(index.Word(1), "");
  int32_t at = 0;
  EXPECT_FALSE(index.Find("a", at));
}

TEST(FileNames, ChangeFileExtReplacesOnlyTheLastExtension) {
  EXPECT_EQ(ChangeFileExt("/a/b.c/Dic.ibf", ".ind"), "/a/b.c/Dic.ind");
  EXPECT_EQ(ChangeFileExt("/a/b.c/Dic", ".ind"), "/a/b.c/Dic.ind");
  EXPECT_EQ(ChangeFileExt("x.tar.gz", ".ini"), "x.tar.ini");
}
