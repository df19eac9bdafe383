// A dictionary: the headword index X.ind over X.ibf (TIndex, TLargeStringList1), the explanation
// lists XC.ibp/XC.ibf, the articles and the title, and the choice of a dictionary for a word.
// Input: X.ind, X.ibf, X.ibp, XC.ibf, XC.ibp, then search texts.

#include <cstdlib>

#include "core/dictionarychoice.h"
#include "core/eioerror.h"
#include "core/tindex.h"
#include "fuzz/fuzzsupport.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

template <typename Fn>
void Guarded(Fn fn) {
  try {
    fn();
  } catch (const EInOutError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 6);
  const std::string folder = fuzz::CleanFolder("Dictionaries");
  const std::string index = folder + "X.ind";
  fuzz::WriteFile(index, parts[0]);
  fuzz::WriteFile(folder + "X.ibf", parts[1]);
  fuzz::WriteFile(folder + "X.ibp", parts[2]);
  fuzz::WriteFile(folder + "XC.ibf", parts[3]);
  fuzz::WriteFile(folder + "XC.ibp", parts[4]);

  TLargeStringList1 list(index);
  const int32_t count = list.GetCount();
  Check(count >= 0 && size_t(count) <= parts[0].size() / 4);
  int budget = fuzz::ReadBudget;
  for (int32_t i = -1; i <= count && budget > 0; ++i, --budget) {
    Guarded([&] { Check(list.Get(i).size() <= 32); });
    Guarded([&] {
      VerseList articles = ReadExplanations(index, i);
      for (uint16_t a : articles) {
        if (--budget <= 0) break;
        Guarded([&] { ReadArticle(index, a); });
      }
      ClampExplanationNumber(articles, i);
    });
  }
  Guarded([&] { DictionaryTitle(index); });
  TDictionaryChoice choice;
  Guarded([&] { choice.LoadDictionaryList(folder); });
  for (size_t k = 5; k < parts.size() && k < 20; ++k) {
    Guarded([&] {
      const int32_t at = list.IndexOf(parts[k]);
      Check(at >= 0 && at <= count);
    });
    Guarded([&] { choice.FindDictionary(parts[k]); });
  }
  return 0;
}
