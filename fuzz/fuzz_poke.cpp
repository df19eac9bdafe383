// What another program pokes to the exchange items, as the handlers read it: the item's number
// (chapter, verse, font size, position), the position of a text with CR LF line breaks, and a
// reference given to "SetBook" in UTF-8, converted to the ANSI code page and parsed against the
// sample versions.
// Input: one byte choosing the version and the reading, then the data.

#include <cstdlib>
#include <string>

#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "core/exchangedata.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/testversion.h"

namespace {

const TBible& Version(unsigned char choice) {
  static TBible* bibles[3] = {nullptr, nullptr, nullptr};
  if (!bibles[0]) {
    DataRoot = fuzz::CleanFolder("pokes");
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
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  int32_t n = 0;
  if (ReadPokedNumber(text, n) && text.empty()) std::abort();

  // The data as UTF-16 code units, and a position taken from its first bytes.
  std::u16string wide;
  for (size_t k = 0; k + 1 < text.size(); k += 2)
    wide += char16_t(uint8_t(text[k]) | uint8_t(text[k + 1]) << 8);
  int64_t pos = 0;
  for (size_t k = 0; k < text.size() && k < 8; ++k) pos = pos << 8 | uint8_t(text[k]);
  const int32_t doc = CrLfToDocPosition(wide, pos);
  if (doc < 0 || doc > int32_t(wide.size())) std::abort();

  const TBible& bible = Version(data[0]);
  int position = 0, chapter = 0, verse = 0;
  ParseReference(bible, Utf8ToCp1251(text), position, chapter, verse);
  return 0;
}
