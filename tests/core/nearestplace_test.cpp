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
