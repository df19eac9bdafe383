// The place the controls show, moved by its own rules over generated versions: the nearest place
// a version has, verse numbers, roll-over across chapters and books, references, the history
// stamp and the bookmark carried on.

#include "core/tplace.h"

#include <gtest/gtest.h>

#include "core/nearestplace.h"
#include "core/tbible.h"
#include "tests/support/testversion.h"

namespace {

struct Place {
  int Book, Chapter, Verse;
  bool operator==(const Place&) const = default;
};

Place Nearest(const TBible& bible, Place p) {
  EXPECT_TRUE(NearestPlace(bible, p.Book, p.Chapter, p.Verse));
  return p;
}

class NearestPlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    DataRoot = Dir.Path();
    WriteSampleVersion(Dir.Path(), 4, EnglishSample());  // Genesis, Psalms, John
    WriteSampleVersion(Dir.Path(), 9, GreekSample());    // Matthew (2 chapters), John
  }
  void TearDown() override { DataRoot.clear(); }
  TTempDir Dir;
};

// The place in the English sample: Genesis (31, 25, 24 verses), Psalms (6, 12, 8), John (51,
// 25, 36), slots 1, 22, 54.
class Moves : public NearestPlaces {
 protected:
  void SetUp() override {
    NearestPlaces::SetUp();
    Bible = std::make_unique<TBible>(4);
    Place.Bible = Bible.get();
  }
  void At(int book, int chapter, int verse) {
    Place.Book = book;
    Place.Chapter = chapter;
    Place.Verse = verse;
  }
  std::string Shown() const { return Place.Reference(); }
  std::unique_ptr<TBible> Bible;
  TPlace Place;
};

}  // namespace

TEST_F(NearestPlaces, ABookTheVersionLacksOpensAtTheNextBookItHasElseTheEndOfTheLastBefore) {
  TBible greek(9);
  // 1 Samuel 17:40 and Psalms 2:3: the Greek version starts with Matthew.
  EXPECT_EQ(Nearest(greek, {9, 17, 40}), (Place{51, 1, 1}));
  EXPECT_EQ(Nearest(greek, {22, 2, 3}), (Place{51, 1, 1}));
  // Between Matthew and John (Mark): John.
  EXPECT_EQ(Nearest(greek, {52, 4, 5}), (Place{54, 1, 1}));
  // After John: the end of John, the nearest place before.
  EXPECT_EQ(Nearest(greek, {66, 3, 3}), (Place{54, 1, 51}));
  EXPECT_FALSE(HasPlace(greek, 9, 17, 40));
}

TEST_F(NearestPlaces, APlaceInABookTheVersionHasStaysOrIsKeptWithinTheBook) {
  TBible english(4);
  EXPECT_TRUE(HasPlace(english, 54, 3, 16));
  EXPECT_EQ(Nearest(english, {54, 3, 16}), (Place{54, 3, 16}));
  EXPECT_EQ(Nearest(english, {1, 2, 99}), (Place{1, 2, 25}));
  EXPECT_EQ(Nearest(english, {1, 40, 1}), (Place{1, 3, 1}));
  EXPECT_EQ(Nearest(english, {1, 0, 0}), (Place{1, 1, 1}));
  EXPECT_FALSE(HasPlace(english, 1, 2, 99));
  // Damaged places: slots outside the table.
  EXPECT_EQ(Nearest(english, {0, 5, 5}), (Place{1, 1, 1}));
  EXPECT_EQ(Nearest(english, {200, 1, 1}), (Place{54, 3, 36}));
  EXPECT_EQ(Nearest(english, {-3, 1, 1}), (Place{1, 1, 1}));
}

TEST_F(Moves, StepsRollOverChaptersAndBooksAndStopAtTheEnds) {
  At(1, 1, 31);
  ASSERT_TRUE(Place.MoveToVerse(Place.NextVerse()));
  EXPECT_EQ(Shown(), "Genesis 2:1");
  ASSERT_TRUE(Place.MoveToVerse(Place.PreviousVerse()));
  EXPECT_EQ(Shown(), "Genesis 1:31");
  At(1, 3, 24);
  ASSERT_TRUE(Place.MoveToVerse(Place.NextVerse()));
  EXPECT_EQ(Shown(), "Psalms 1:1");
  EXPECT_EQ(Place.Book, 22);
  At(1, 1, 1);
  EXPECT_EQ(Place.PreviousVerse(), 1);
  At(54, 3, 36);
  EXPECT_EQ(Place.NextVerse(), Bible->VerseCount);
  // A verse number beyond the version is its last verse.
  ASSERT_TRUE(Place.MoveToVerse(60000));
  EXPECT_EQ(Shown(), "John 3:36");
}

TEST_F(Moves, ClampingKeepsChapterAndVerseWithinTheBook) {
  At(22, 9, 99);
  EXPECT_EQ(Place.LastChapter(), 3);
  Place.Clamp();
  EXPECT_EQ(Shown(), "Psalms 3:8");
  At(22, 2, 0);
  Place.Clamp();
  EXPECT_EQ(Place.Verse, 1);
  EXPECT_EQ(Place.LastVerse(), 12);
  // A book the version lacks has no position; without a version there is no place at all.
  At(40, 1, 1);
  EXPECT_EQ(Place.Position(), 0);
  TPlace none;
  EXPECT_FALSE(none.MoveToVerse(5));
  EXPECT_FALSE(none.MoveToReference("John 3:16"));
  EXPECT_EQ(none.Reference(), "");
}

TEST_F(Moves, ReferencesMoveWithinTheActiveVersionAndKeepTheBookWithoutAName) {
  At(1, 1, 1);
  ASSERT_TRUE(Place.MoveToReference("John 3:16"));
  EXPECT_EQ(Shown(), "John 3:16");
  ASSERT_TRUE(Place.MoveToReference("2:5"));
  EXPECT_EQ(Shown(), "John 2:5");
  EXPECT_TRUE(Place.IsReference("Ps 1"));
  EXPECT_FALSE(Place.IsReference("hello"));
  EXPECT_FALSE(Place.MoveToReference("hello"));
  EXPECT_EQ(Shown(), "John 2:5");
}

TEST_F(Moves, ABookmarkOnTheVerseBeforeMovesOnAndTheHistoryStampFollows) {
  Bible->BookMarks = {"Psalms 2:3", "Genesis 1:5", "Genesis 1:5"};
  At(1, 1, 6);
  EXPECT_EQ(Place.CarryBookmark(), 1);
  EXPECT_EQ(Bible->BookMarks,
            (std::vector<std::string>{"Psalms 2:3", "Genesis 1:6", "Genesis 1:5"}));
  At(1, 1, 8);
  EXPECT_EQ(Place.CarryBookmark(), -1);
  At(1, 1, 1);
  EXPECT_EQ(Place.CarryBookmark(), -1);
  // The first entry does not move the stamp; later ones do, except the one a step back records.
  Place.StampHistory(10);
  EXPECT_EQ(Place.HistoryStamp, 0);
  Place.StampHistory(11);
  EXPECT_EQ(Place.HistoryStamp, 11);
  Place.StepBack(5);
  Place.StampHistory(12);
  EXPECT_EQ(Place.HistoryStamp, 5);
  Place.StampHistory(13);
  EXPECT_EQ(Place.HistoryStamp, 13);
}
