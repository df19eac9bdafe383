// LoadVerseList at arbitrary offsets of an arbitrary file, and the verse-set operations on
// arbitrary sets (unsorted, repeated, any values); on sorted sets they must agree with the standard
// algorithms. Input: the set file, int32 offsets, set A and set B as uint16 arrays, 78 bytes of
// book set.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/eioerror.h"
#include "core/tbible.h"
#include "core/verselist.h"
#include "core/versionwriter.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/testversion.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::vector<uint16_t> Values(const std::string& bytes) {
  std::vector<uint16_t> v(std::min<size_t>(bytes.size() / 2, 65535));
  for (size_t i = 0; i < v.size(); ++i)
    v[i] = uint16_t((unsigned char)bytes[2 * i] | ((unsigned char)bytes[2 * i + 1] << 8));
  return v;
}

std::vector<uint16_t> SortedSet(std::vector<uint16_t> v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

const TBible& Sample() {
  static TBible* bible = [] {
    DataRoot = fuzz::CleanFolder("sample");
    WriteSampleVersion(DataRoot, 4, EnglishSample());
    return new TBible(4);
  }();
  return *bible;
}

void Operations(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b,
                const TBookSet& books, bool sorted) {
  VerseList la = VerseList::FromVector(a), lb = VerseList::FromVector(b);
  const int common = CountCommon(la, lb);
  VerseList i = CopyVerseList(la);
  IntersectVerseLists(i, lb);
  VerseList u = CopyVerseList(la);
  UniteVerseLists(u, lb);
  VerseList d = CopyVerseList(lb);
  SubtractVerseLists(d, la);  // la without the elements of lb
  VerseList f = CopyVerseList(la);
  FilterByBookSet(Sample(), f, books);
  Check(f.Count() <= la.Count());
  if (!sorted) return;
  std::vector<uint16_t> want;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(want));
  Check(i.ToVector() == want && common == int(want.size()));
  want.clear();
  std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(want));
  // A list holds at most 65 535 verses; only a union that includes 0 (no verse number) is longer.
  if (want.size() <= 65535) Check(u.ToVector() == want);
  want.clear();
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(want));
  Check(d.ToVector() == want);
  // Absent operands.
  VerseList absent;
  VerseList x = CopyVerseList(la);
  IntersectVerseLists(x, absent);
  Check(x.ToVector() == a);
  UniteVerseLists(x, absent);
  Check(x.ToVector() == a);
  SubtractVerseLists(absent, la);
  Check(absent.Present() && absent.ToVector() == a);
  VerseList none;
  VerseList y = CopyVerseList(la);
  SubtractVerseLists(y, none);
  Check(y.Absent());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 5);
  Sample();
  const std::string file = fuzz::CleanFolder("sets") + "Conc.bin";
  fuzz::WriteFile(file, parts[0]);
  for (size_t k = 0; k + 4 <= parts[1].size() && k < 64 * 4; k += 4) {
    int32_t offset;
    std::memcpy(&offset, parts[1].data() + k, 4);
    try {
      VerseList list = LoadVerseList(offset, file);
      Check(list.Present());
    } catch (const EInOutError&) {
    }
  }
  TBookSet books{};
  for (size_t k = 0; k < books.size() && k < parts[4].size(); ++k) books[k] = uint8_t(parts[4][k]);
  const std::vector<uint16_t> a = Values(parts[2]), b = Values(parts[3]);
  Operations(a, b, books, false);
  Operations(SortedSet(a), SortedSet(b), books, true);
  return 0;
}
