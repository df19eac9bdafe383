// The history file of the combo box (its core part, THistoryList): loading arbitrary bytes, the
// operations on what was loaded, and saving: a saved list reads back as itself.
// Input: the file's bytes.

#include <cstdlib>

#include "core/historylist.h"
#include "fuzz/fuzzsupport.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  THistoryList list;
  list.LoadFromBytes(bytes);
  Check(list.Texts.size() == list.Times.size() && list.Texts.size() == list.Places.size());
  Check(list.Sorted <= byIndex);
  const std::string saved = list.SaveToBytes();
  THistoryList again;
  again.LoadFromBytes(saved);
  Check(again.SaveToBytes() == saved);

  const int n = list.Count();
  for (int i = 0; i < n && i < 50; ++i) {
    list.IndexOfText(list.Texts[size_t(i)]);
    list.PreviousByTime(list.Times[size_t(i)]);
    list.NextByTime(list.Times[size_t(i)]);
    list.TextPosition(list.Texts[size_t(i)]);
    list.TimePosition(list.Times[size_t(i)]);
    list.PlacePosition(list.Places[size_t(i)]);
  }
  for (TSorted order : {byTime, byIndex, byText}) {
    list.SetSorted(order);
    Check(list.Count() == n);
  }
  const std::string text(bytes.substr(0, 40));
  const int at = list.Add(uint16_t(size), text, 45000.5);
  Check(at >= -1 && at < list.Count());
  list.Insert(-5, 1, "x", 1.0);
  list.Insert(1 << 30, 2, "y", 2.0);
  Check(list.Count() <= n + 3);
  return 0;
}
