// The word list and the concordance of a version: TLargeStringList2 rows, IndexOf, the verse set of
// each word and the word search in every mode, over arbitrary WordList.txt, WordPoint.bin,
// ConcP.bin and Conc.bin beside a valid sample text.
// Input: WordList.txt, WordPoint.bin, ConcP.bin, Conc.bin, search texts (one a line), mode bytes.

#include <cstdlib>
#include <memory>

#include "core/bibleunit.h"
#include "core/eioerror.h"
#include "core/tlargestringlist.h"
#include "core/wordsearch.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/testversion.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

TBible& Sample() {
  static TBible* bible = [] {
    DataRoot = fuzz::CleanFolder("words");
    WriteSampleVersion(DataRoot, 4, EnglishSample());
    return new TBible(4);
  }();
  return *bible;
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
  TBible& bible = Sample();
  fuzz::WriteFile(bible.DataPath + "WordList.txt", parts[0]);
  fuzz::WriteFile(bible.DataPath + "WordPoint.bin", parts[1]);
  fuzz::WriteFile(bible.DataPath + "ConcP.bin", parts[2]);
  fuzz::WriteFile(bible.DataPath + "Conc.bin", parts[3]);

  TLargeStringList2 list(&bible);
  const int32_t count = list.GetCount();
  Check(count == int32_t(parts[1].size() / 4));
  for (int32_t i = -1; i <= count && i < fuzz::ReadBudget; ++i) {
    Guarded([&] { list.Get(i); });
    Guarded([&] { list.GetWord(i); });
    Guarded([&] { ReadWordLine(bible, i); });
    Guarded([&] {
      VerseList verses = LoadWordVerses(bible, i);
      if (verses.Present()) FilterByBookSet(bible, verses, TBookSet{});
    });
  }
  std::vector<std::string> texts;
  size_t start = 0;
  const std::string& lines = parts[4];
  while (start <= lines.size() && texts.size() < 16) {
    size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    texts.push_back(lines.substr(start, end - start));
    start = end + 1;
  }
  TWordSearch search;
  for (size_t k = 0; k < parts[5].size() && k < 78; ++k) search.BookSet[k] = uint8_t(parts[5][k]);
  for (size_t k = 0; k < texts.size(); ++k) {
    Guarded([&] {
      const int32_t at = list.IndexOf(texts[k]);
      Check(at >= 0 && at <= (count > 0 ? count : 0));
    });
    const unsigned char mode = k < parts[5].size() ? (unsigned char)parts[5][k] : 0;
    search.Mode = TSearchMode(mode % 4);
    Guarded([&] { search.SearchText(bible, texts[k]); });
    Check(search.MarkWords.size() <= MaxMarkWords);
  }
  return 0;
}
