#pragma once
// Verse sets: one block of (count + 1) 16-bit values, element 0 the count, then strictly ascending
// absolute verse numbers. The same layout is stored in Conc.bin and in a dictionary's explanation
// lists (doc/formats.md). A VerseList owns its block; an absent list (no block) differs from an
// empty one (count 0).

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBible;

class VerseList {
 public:
  VerseList() = default;  // absent
  VerseList(VerseList&&) noexcept = default;
  VerseList& operator=(VerseList&&) noexcept = default;
  VerseList(const VerseList&) = delete;
  VerseList& operator=(const VerseList&) = delete;

  // A present list of count elements, all 0 until filled; one allocation.
  static VerseList Allocate(uint16_t count);
  static VerseList FromVector(const std::vector<uint16_t>& verses);

  bool Absent() const { return Block == nullptr; }
  bool Present() const { return Block != nullptr; }
  // 0 for an absent list.
  uint16_t Count() const { return Block ? Block[0] : 0; }
  // Raw layout access: [0] is the count, [1..Count()] the verses.
  uint16_t& operator[](size_t i) { return Block[i]; }
  uint16_t operator[](size_t i) const { return Block[i]; }
  const uint16_t* begin() const { return Block ? Block.get() + 1 : nullptr; }
  const uint16_t* end() const { return Block ? Block.get() + 1 + Block[0] : nullptr; }
  std::vector<uint16_t> ToVector() const { return std::vector<uint16_t>(begin(), end()); }
  void Reset() { Block.reset(); }

 private:
  std::unique_ptr<uint16_t[]> Block;
};

// 78 flags, the flag of book slot s at index s - 1; non-zero means the slot is chosen.
using TBookSet = std::array<uint8_t, 78>;

VerseList NewVerseList();
void FreeVerseList(VerseList& list);
// The list stored at the given offset (in 16-bit units) of the file; absent when the file cannot
// be opened. A count larger than the data that follows raises the input/output error.
VerseList LoadVerseList(int32_t offset, const std::string& fileName);
VerseList CopyVerseList(const VerseList& list);
int CountCommon(const VerseList& a, const VerseList& b);
// a := a ∩ b; with b absent a stays as it is.
VerseList& IntersectVerseLists(VerseList& a, const VerseList& b);
// a := a ∪ b; with b absent a stays as it is.
VerseList& UniteVerseLists(VerseList& a, const VerseList& b);
// a := base without the elements of a; base absent makes a absent; a absent makes it a copy of base.
VerseList& SubtractVerseLists(VerseList& a, const VerseList& base);
// Keeps the verses whose book slot is flagged; an absent list stays absent.
void FilterByBookSet(const TBible& bible, VerseList& list, const TBookSet& set);
