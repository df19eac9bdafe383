// BibleTitles.txt and BibleStructure.csv loading, then every chapter navigated as a Bible window
// does: verse numbers and places, references, verse text through CompactPoint.bin/CompactText.bin
// and the chapter text builder.
// Input: titles, structure, CompactPoint.bin, CompactText.bin, one byte of version index.

#include <cstdlib>

#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/eioerror.h"
#include "core/tbible.h"
#include "fuzz/fuzzsupport.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void Navigate(const TBible& bible) {
  int budget = fuzz::ReadBudget;
  int n = 0;  // absolute number of the verse before the current chapter
  for (int p = 1; p <= bible.BookCount; ++p) {
    const int chapters = bible.ChapterCount(p);
    for (int c = 1; c <= chapters; ++c) {
      const int verses = bible.ChapterVerses(p, c);
      if (c <= 3 || c == chapters) Check(VerseNumber(bible, p, c, 1) == n + 1);
      for (int v = 1; v <= verses && budget > 0; ++v, --budget) {
        int lp, lc, lv;
        LocateVerse(bible, n + v, lp, lc, lv);
        Check(lp == p && lc == c && lv == v);
        try {
          ReadVerse(bible, n + v);
        } catch (const EInOutError&) {
        }
      }
      n += verses;
      if (budget > 0 && (verses > 0 || c <= 2)) {
        --budget;
        TChapterOptions options;
        options.View = TViewOptions::Unpack(budget % 2 ? 0x01010101 : DefaultViewOptions);
        options.ShowFootnotes = budget % 3 != 0;
        options.BlankAfterItalic = budget % 5 == 0;
        TChapterText text;
        try {
          if (BuildChapterText(bible, bible.BookOrder[size_t(p)], c, options, text)) {
            Check(text.VerseStart.size() == size_t(text.VerseCount()) + 2);
            for (int k = 1; k <= text.VerseCount() && k < 4; ++k)
              VerseAt(text.VerseStart, text.VerseStart[size_t(k)], text.VerseCount());
          }
        } catch (const EInOutError&) {
        }
      }
    }
  }
  Check(n == bible.VerseCount);
  for (int x : {-1, 0, 1, int(bible.VerseCount), int(bible.VerseCount) + 1, 70000}) {
    int p, c, v;
    LocateVerse(bible, x, p, c, v);
    VerseReference(bible, x, x % 2 == 0);
  }
  for (int slot = 0; slot <= MaxBooks + 1; ++slot) ChapterHeading(bible, slot);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 5);
  const int version = parts[4].empty() ? 4 : (unsigned char)parts[4][0] % VersionTableSize;
  DataRoot = fuzz::CleanFolder("root");
  const std::string folder = DataRoot + VersionDiskFolder(version);
  fuzz::CleanFolder("root/" + VersionDiskFolder(version));
  fuzz::WriteFile(folder + "BibleTitles.txt", parts[0]);
  fuzz::WriteFile(folder + "BibleStructure.csv", parts[1]);
  fuzz::WriteFile(folder + "CompactPoint.bin", parts[2]);
  fuzz::WriteFile(folder + "CompactText.bin", parts[3]);
  try {
    TBible bible(version);
    Navigate(bible);
  } catch (const EInOutError&) {
  }
  return 0;
}
