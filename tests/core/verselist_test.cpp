#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "core/bibleunit.h"
#include "core/eioerror.h"
#include "core/tfile.h"
#include "core/verselist.h"
#include "tests/support/testversion.h"

namespace {

using V = std::vector<uint16_t>;

VerseList L(const V& v) { return VerseList::FromVector(v); }

V RandomSet(std::mt19937& random, size_t maxSize, uint16_t maxValue) {
  std::uniform_int_distribution<int> size(0, int(maxSize)), value(1, maxValue);
  V out;
  const int n = size(random);
  for (int i = 0; i < n; ++i) out.push_back(uint16_t(value(random)));
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

}  // namespace

TEST(VerseSets, SmallCases) {
  VerseList a = L({1, 5, 9});
  EXPECT_EQ(UniteVerseLists(a, L({2, 5, 10})).ToVector(), V({1, 2, 5, 9, 10}));
  a = L({1, 5, 9});
  EXPECT_EQ(IntersectVerseLists(a, L({2, 5, 10})).ToVector(), V({5}));
  a = L({2, 5, 10});
  EXPECT_EQ(SubtractVerseLists(a, L({1, 5, 9})).ToVector(), V({1, 9}));
  a = L({1, 2});
  EXPECT_EQ(IntersectVerseLists(a, NewVerseList()).Count(), 0);
  EXPECT_TRUE(a.Present());
  a = NewVerseList();
  EXPECT_EQ(UniteVerseLists(a, L({3, 4})).ToVector(), V({3, 4}));
  a = L({3, 4});
  EXPECT_EQ(UniteVerseLists(a, NewVerseList()).ToVector(), V({3, 4}));
  a = NewVerseList();
  EXPECT_EQ(SubtractVerseLists(a, L({7, 8})).ToVector(), V({7, 8}));
  a = L({7});
  EXPECT_EQ(SubtractVerseLists(a, NewVerseList()).ToVector(), V());
}

TEST(VerseSets, AbsentOperands) {
  VerseList a = L({1, 2});
  EXPECT_EQ(IntersectVerseLists(a, VerseList()).ToVector(), V({1, 2}));
  EXPECT_EQ(UniteVerseLists(a, VerseList()).ToVector(), V({1, 2}));
  EXPECT_TRUE(SubtractVerseLists(a, VerseList()).Absent());
  VerseList absent;
  EXPECT_EQ(SubtractVerseLists(absent, L({4})).ToVector(), V({4}));
  EXPECT_TRUE(CopyVerseList(VerseList()).Absent());
  EXPECT_EQ(CopyVerseList(L({9})).ToVector(), V({9}));
  VerseList f = L({1});
  FreeVerseList(f);
  EXPECT_TRUE(f.Absent());
  FreeVerseList(f);  // twice is harmless
}

TEST(VerseSets, MergesAgreeWithTheStandardAlgorithms) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const uint16_t range = round % 2 ? 60 : 65535;
    const V x = RandomSet(random, 300, range), y = RandomSet(random, 300, range);
    V expected;
    VerseList a = L(x);
    std::set_intersection(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(expected));
    EXPECT_EQ(IntersectVerseLists(a, L(y)).ToVector(), expected);
    EXPECT_EQ(CountCommon(L(x), L(y)), int(expected.size()));
    expected.clear();
    a = L(x);
    std::set_union(x.begin(), x.end(), y.begin(), y.end(), std::back_inserter(expected));
    EXPECT_EQ(UniteVerseLists(a, L(y)).ToVector(), expected);
    expected.clear();
    a = L(x);
    std::set_difference(y.begin(), y.end(), x.begin(), x.end(), std::back_inserter(expected));
    EXPECT_EQ(SubtractVerseLists(a, L(y)).ToVector(), expected);
  }
}

TEST(VerseSets, UnsortedDamagedListsStayInBounds) {
  // Lists read from a damaged file need not be sorted; merges must still stay in their blocks.
  std::mt19937 random(11);
  std::uniform_int_distribution<int> value(0, 65535), size(0, 40);
  for (int round = 0; round < 300; ++round) {
    V x(size_t(size(random))), y(size_t(size(random)));
    for (auto& e : x) e = uint16_t(value(random));
    for (auto& e : y) e = uint16_t(value(random));
    VerseList a = L(x);
    UniteVerseLists(a, L(y));
    EXPECT_LE(a.Count(), x.size() + y.size());
    a = L(x);
    IntersectVerseLists(a, L(y));
    a = L(x);
    SubtractVerseLists(a, L(y));
    EXPECT_LE(a.Count(), y.size());
  }
}

TEST(VerseSets, LoadFromFileAtUnitOffsets) {
  TTempDir dir;
  std::string bytes;
  for (uint16_t u : {uint16_t(99), uint16_t(3), uint16_t(4), uint16_t(8), uint16_t(15),
                     uint16_t(0), uint16_t(5)})
    PutU16(bytes, u);
  std::ofstream(dir.File("c.bin"), std::ios::binary) << bytes;
  EXPECT_EQ(LoadVerseList(1, dir.File("c.bin")).ToVector(), V({4, 8, 15}));
  const VerseList empty = LoadVerseList(5, dir.File("c.bin"));
  EXPECT_TRUE(empty.Present());
  EXPECT_EQ(empty.Count(), 0);
  EXPECT_TRUE(LoadVerseList(0, dir.File("missing.bin")).Absent());
  EXPECT_THROW(LoadVerseList(0, dir.File("c.bin")), EInOutError);   // count 99 > data
  EXPECT_THROW(LoadVerseList(6, dir.File("c.bin")), EInOutError);   // count 5 > data
  EXPECT_THROW(LoadVerseList(7, dir.File("c.bin")), EInOutError);   // past the end
  EXPECT_THROW(LoadVerseList(-1, dir.File("c.bin")), EInOutError);
}

TEST(VerseSets, FilterByBookSetKeepsTheFlaggedSlots) {
  TTempDir dir;
  DataRoot = dir.Path();
  WriteSampleVersion(dir.Path(), 4, EnglishSample());
  TBible kjv(4);
  V all;
  for (int v = 1; v <= kjv.VerseCount; ++v) all.push_back(uint16_t(v));
  TBookSet set;
  set.fill(1);
  VerseList list = L(all);
  FilterByBookSet(kjv, list, set);
  EXPECT_EQ(list.ToVector(), all);
  set.fill(0);
  set[54 - 1] = 1;  // John only
  FilterByBookSet(kjv, list, set);
  ASSERT_EQ(list.Count(), 51 + 25 + 36);
  EXPECT_EQ(list[1], VerseNumber(kjv, 3, 1, 1));
  set.fill(0);
  FilterByBookSet(kjv, list, set);
  EXPECT_TRUE(list.Present());
  EXPECT_EQ(list.Count(), 0);
  VerseList absent;
  FilterByBookSet(kjv, absent, set);
  EXPECT_TRUE(absent.Absent());
  DataRoot.clear();
}
