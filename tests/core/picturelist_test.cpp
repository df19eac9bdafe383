// The illustration list: lines sorted without regard to case, the first picture of a word, the
// cycle through a word's pictures, and damaged lists.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/cp1251.h"
#include "core/picturelist.h"
#include "tests/support/testversion.h"

namespace {

TPictureList List(const std::string& bytes) {
  TPictureList list;
  list.LoadFromBytes(bytes);
  return list;
}

}  // namespace

TEST(PictureList, LinesOfOneWordStandTogetherAndCycleInOrder) {
  const TPictureList list =
      List("sheep=c.jpg\r\ndove=x.jpg\nSHEEP=a.jpg\rcamel=k.jpg\r\n\r\nsheep=b.jpg\r\n");
  ASSERT_EQ(list.Lines.size(), 5u);
  EXPECT_EQ(list.Lines[0], "camel=k.jpg");
  EXPECT_EQ(list.FirstPicture("sheep"), "a.jpg");
  EXPECT_EQ(list.FirstPicture("Sheep"), "a.jpg");
  // From "SHEEP=a.jpg" the next line's word part "sheep" equals the word asked for exactly.
  EXPECT_EQ(list.NextPicture("sheep", "a.jpg"), "b.jpg");
  EXPECT_EQ(list.NextPicture("sheep", "b.jpg"), "c.jpg");
  EXPECT_EQ(list.NextPicture("sheep", "c.jpg"), "a.jpg");
  EXPECT_EQ(list.NextPicture("dove", "x.jpg"), "x.jpg");
  EXPECT_EQ(list.FirstPicture("goat"), "");
  EXPECT_EQ(list.NextPicture("goat", "x.jpg"), "");
}

TEST(PictureList, CapitalisedLineFirstCyclesBackFromItsLowerCaseNeighbour) {
  const TPictureList list = List("Ark=b.jpg\r\nark=a.jpg\r\n");
  // Sorted by the whole line without regard to case: "ark=a.jpg" first.
  EXPECT_EQ(list.FirstPicture("Ark"), "a.jpg");
  const TPictureList capitalFirst = List("Ark=a.jpg\r\nark=b.jpg\r\n");
  EXPECT_EQ(capitalFirst.FirstPicture("Ark"), "a.jpg");
  // The next line's word part is "ark", not exactly "Ark": back to the first.
  EXPECT_EQ(capitalFirst.NextPicture("Ark", "a.jpg"), "a.jpg");
  EXPECT_EQ(capitalFirst.NextPicture("ark", "a.jpg"), "b.jpg");
}

TEST(PictureList, LinesWithoutEqualsSignAndPicturesNotInHandFallBackToTheFirst) {
  const TPictureList list = List("lamb\r\nlamb=a.jpg\r\nlamb=b.jpg\r\n=c.jpg\r\n");
  EXPECT_EQ(list.FirstPicture("lamb"), "a.jpg");
  EXPECT_EQ(list.FirstPicture(""), "c.jpg");
  // The word box changed after the article was shown: the picture in hand is another word's.
  EXPECT_EQ(list.NextPicture("lamb", "dove.jpg"), "a.jpg");
  EXPECT_EQ(list.NextPicture("lamb", ""), "a.jpg");
  // Cyrillic words match without regard to case.
  const TPictureList bg = List(Utf8ToCp1251("Гълъб=g.jpg\r\n"));
  EXPECT_EQ(bg.FirstPicture(Utf8ToCp1251("гълъб")), "g.jpg");
}

TEST(PictureList, DamagedAndHugeListsStopAtTheLimits) {
  TTempDir dir;
  TPictureList list;
  list.LoadFromFile(dir.File("missing.txt"));
  EXPECT_TRUE(list.Lines.empty());
  // A line longer than the limit ends the reading; what came before stays.
  const std::string longLine(TPictureList::MaxLineLength + 1, 'a');
  list.LoadFromBytes("a=1.jpg\r\n" + longLine + "\r\nb=2.jpg\r\n");
  ASSERT_EQ(list.Lines.size(), 1u);
  std::string many;
  for (size_t i = 0; i < TPictureList::MaxLines + 10; ++i) many += "w=p\n";
  list.LoadFromBytes(many);
  EXPECT_EQ(list.Lines.size(), TPictureList::MaxLines);
  std::mt19937 random(3);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(size_t(random() % 300), '\0');
    for (char& c : bytes) c = char(random() % 8 == 0 ? '=' : random());
    list.LoadFromBytes(bytes);
    for (const std::string& line : list.Lines) {
      const std::string word = line.substr(0, line.find('='));
      const std::string first = list.FirstPicture(word);
      std::string next = list.NextPicture(word, first);
      for (int k = 0; k < 5; ++k) next = list.NextPicture(word, next);
    }
  }
}
