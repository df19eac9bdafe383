#include "core/verselist.h"

#include "core/bibleunit.h"
#include "core/eioerror.h"
#include "core/tbible.h"
#include "core/tfile.h"

VerseList VerseList::Allocate(uint16_t count) {
  VerseList list;
  list.Block = std::make_unique<uint16_t[]>(size_t(count) + 1);
  list.Block[0] = count;
  return list;
}

VerseList VerseList::FromVector(const std::vector<uint16_t>& verses) {
  const uint16_t n = verses.size() > 65535 ? 65535 : uint16_t(verses.size());
  VerseList list = Allocate(n);
  for (uint16_t i = 0; i < n; ++i) list[size_t(i) + 1] = verses[i];
  return list;
}

VerseList NewVerseList() { return VerseList::Allocate(0); }

void FreeVerseList(VerseList& list) { list.Reset(); }

// The count is a 16-bit value, so a damaged file can ask for at most 128 KiB.
VerseList LoadVerseList(int32_t offset, const std::string& fileName) {
  TFile file;
  if (!file.OpenRead(fileName)) return {};
  if (offset < 0) RaiseInOutError(ioReadBeyondEnd, fileName);
  file.Seek(int64_t(offset) * 2);
  unsigned char head[2];
  file.ReadExact(head, 2);
  const uint16_t count = GetU16(head);
  std::vector<unsigned char> bytes(size_t(count) * 2);
  file.ReadExact(bytes.data(), bytes.size());
  VerseList list = VerseList::Allocate(count);
  for (size_t i = 0; i < count; ++i) list[i + 1] = GetU16(&bytes[2 * i]);
  return list;
}

VerseList CopyVerseList(const VerseList& list) {
  if (list.Absent()) return {};
  VerseList copy = VerseList::Allocate(list.Count());
  for (size_t i = 1; i <= list.Count(); ++i) copy[i] = list[i];
  return copy;
}

int CountCommon(const VerseList& a, const VerseList& b) {
  size_t j = 1;
  const size_t nb = b.Count();
  int common = 0;
  for (size_t i = 1; i <= a.Count(); ++i) {
    const uint16_t x = a[i];
    while (j <= nb && b[j] < x) ++j;
    if (j <= nb && b[j] == x) ++common;
  }
  return common;
}

VerseList& IntersectVerseLists(VerseList& a, const VerseList& b) {
  if (b.Absent() || a.Absent()) return a;
  VerseList result = VerseList::Allocate(uint16_t(CountCommon(a, b)));
  size_t j = 1, k = 1;
  const size_t nb = b.Count();
  for (size_t i = 1; i <= a.Count(); ++i) {
    const uint16_t x = a[i];
    while (j <= nb && b[j] < x) ++j;
    if (j <= nb && b[j] == x) result[k++] = x;
  }
  a = std::move(result);
  return a;
}

// Both lists are sets of 16-bit values, so the union never has more than 65 535 elements.
VerseList& UniteVerseLists(VerseList& a, const VerseList& b) {
  if (b.Absent() || a.Absent()) return a;
  const size_t na = a.Count(), nb = b.Count();
  size_t n = na, j = 1;
  for (size_t i = 1; i <= na; ++i) {
    const uint16_t x = a[i];
    for (; j <= nb && b[j] <= x; ++j)
      if (b[j] < x) ++n;
  }
  n += nb - j + 1;
  if (n > 65535) n = 65535;
  VerseList result = VerseList::Allocate(uint16_t(n));
  size_t k = 1;
  j = 1;
  auto put = [&](uint16_t v) {
    if (k <= n) result[k++] = v;
  };
  for (size_t i = 1; i <= na; ++i) {
    const uint16_t x = a[i];
    for (; j <= nb && b[j] <= x; ++j)
      if (b[j] < x) put(b[j]);
    put(x);
  }
  for (; j <= nb; ++j) put(b[j]);
  a = std::move(result);
  return a;
}

VerseList& SubtractVerseLists(VerseList& a, const VerseList& base) {
  if (base.Absent()) {
    a.Reset();
    return a;
  }
  if (a.Absent()) {
    a = CopyVerseList(base);
    return a;
  }
  const size_t na = a.Count(), nbase = base.Count();
  size_t n = nbase, i = 1;
  for (size_t k = 1; k <= nbase; ++k) {
    const uint16_t y = base[k];
    while (i <= na && a[i] < y) ++i;
    if (i <= na && a[i] == y) --n;
  }
  VerseList result = VerseList::Allocate(uint16_t(n));
  size_t out = 1;
  i = 1;
  for (size_t k = 1; k <= nbase; ++k) {
    const uint16_t y = base[k];
    while (i <= na && a[i] < y) ++i;
    if (!(i <= na && a[i] == y)) result[out++] = y;
  }
  a = std::move(result);
  return a;
}

void FilterByBookSet(const TBible& bible, VerseList& list, const TBookSet& set) {
  if (list.Absent()) return;
  // The book of a verse is the first position whose last verse is not below it; LastVerse
  // grows with the position, so a binary search finds it (LocateVerse without the chapter walk).
  auto chosen = [&](uint16_t verse) {
    int lo = 1, hi = bible.BookCount;
    if (hi < 1) return false;
    const int n = verse < 1 ? 1 : verse;
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (bible.BookAt(mid).LastVerse < n)
        lo = mid + 1;
      else
        hi = mid;
    }
    const int slot = bible.BookOrder[size_t(lo)];
    return slot >= 1 && slot <= MaxBooks && set[size_t(slot) - 1] != 0;
  };
  size_t n = 0;
  for (uint16_t verse : list)
    if (chosen(verse)) ++n;
  VerseList result = VerseList::Allocate(uint16_t(n));
  size_t k = 1;
  for (uint16_t verse : list)
    if (chosen(verse)) result[k++] = verse;
  list = std::move(result);
}
