// Reference recognition over the sample versions (English, Bulgarian in windows-1251, Greek):
// NormalizeReference, FindBookName and ParseReference of arbitrary text.
// Input: one byte choosing the version, then the text.

#include <cstdlib>

#include "core/bibleunit.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/testversion.h"

namespace {

const TBible& Version(unsigned char choice) {
  static TBible* bibles[3] = {nullptr, nullptr, nullptr};
  if (!bibles[0]) {
    DataRoot = fuzz::CleanFolder("references");
    WriteSampleVersion(DataRoot, 4, EnglishSample());
    WriteSampleVersion(DataRoot, 0, BulgarianSample());
    WriteSampleVersion(DataRoot, 9, GreekSample());
    bibles[0] = new TBible(4);
    bibles[1] = new TBible(0);
    bibles[2] = new TBible(9);
  }
  return *bibles[choice % 3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const TBible& bible = Version(data[0]);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string normalized = text;
  NormalizeReference(normalized);
  std::string rest = normalized;
  const int book = FindBookName(bible, rest);
  if (book != -1 && (book < 1 || book > bible.BookCount)) std::abort();
  int position = 0, chapter = 0, verse = 0;
  ParseReference(bible, text, position, chapter, verse);
  return 0;
}
