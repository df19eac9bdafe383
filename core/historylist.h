#pragma once
// The entries of a history combo box (text, place, time stamp) and its history file, kept apart
// from the widget so that they can be tested and fuzzed without one. Texts are bytes in the box's
// code page.
//
// The history file, 8-bit text with CR LF line ends:
//   line 1      Sorted as a decimal integer, 0, 1 or 2
//   line 2      the edit text
//   then per entry two lines: the time stamp in the 23-character notation of FormatTimeStamp, one
//   blank and the place in decimal; then the entry's text.
// Reading accepts any real notation for the stamp, LF or CR alone as line end, and keeps the low
// 16 bits of the place.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

enum TSorted : uint8_t { byText = 0, byTime = 1, byIndex = 2 };

// A date-time: days since 30 December 1899, the fraction being the time of day.
using TDateTime = double;
TDateTime DateTimeNow();

// The 23-character scientific notation of the history file: " 4.51234567890123E+0004".
std::string FormatTimeStamp(TDateTime t);
// Any real-number notation, blanks around it allowed; false for anything else or a non-finite
// value.
bool ParseTimeStamp(std::string_view s, TDateTime& t);

class THistoryList {
 public:
  // Reading stops at a longer line or after this many entries, as at any other damage.
  static constexpr size_t MaxLineLength = 32768;
  static constexpr size_t MaxEntries = 100000;

  TSorted Sorted = byText;
  std::string EditText;
  // Entry i is (Texts[i], Places[i], Times[i]); the three always have the same length.
  std::vector<std::string> Texts;
  std::vector<TDateTime> Times;
  std::vector<uint16_t> Places;

  int Count() const { return int(Texts.size()); }
  // Entries and edit text.
  void Clear();
  // At index p (clamped to 0..Count) without regard to order.
  void Insert(int p, uint16_t place, const std::string& text, TDateTime stamp);
  // Adds or updates the entry of the text (found without regard to case) at its place under the
  // current order; the index of the entry, or -1 for an empty text, which changes nothing.
  int Add(uint16_t place, const std::string& text, TDateTime stamp);
  // Sorted := order, and a stable selection sort by the order's key.
  void SetSorted(TSorted order);

  // The first entry whose text equals s without regard to case (ANSI case mapping), or -1.
  int IndexOfText(std::string_view s) const;
  // Lower bounds under the keys: the first index whose key is not smaller, or Count.
  int TextPosition(std::string_view text) const;
  int TimePosition(TDateTime stamp) const;
  int PlacePosition(uint16_t place) const;
  // Among the entries with 0 < stamp < x, the first with the greatest stamp; -1 when none.
  int PreviousByTime(TDateTime x) const;
  // Among the entries with x < stamp < 1e20, the first with the smallest stamp; -1 when none.
  int NextByTime(TDateTime x) const;

  // Replaces everything from the file. A missing file leaves the list empty; damage stops the
  // reading and keeps what was read before it. False when the file could not be opened.
  bool LoadFromFile(const std::string& fileName);
  void LoadFromStream(std::istream& in);
  void LoadFromBytes(std::string_view bytes);
  // Replaces the file atomically (a temporary file beside it, then a rename), so that a failed
  // save leaves the previous file as it was; a failure raises EInOutError.
  void SaveToFile(const std::string& fileName) const;
  std::string SaveToBytes() const;

 private:
  void SwapEntries(int a, int b);
  void MoveEntry(int from, int to);
};
