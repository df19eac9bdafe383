// The importer's markup conversion (OSIS, ThML, GBF, TEI, plain) of arbitrary verse text.
// Input: one byte choosing the markup and the options, then the raw verse.

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tmarkup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view raw(reinterpret_cast<const char*>(data) + 1, size - 1);
  TMarkupOptions options;
  options.StrongsNumbers = data[0] & 0x80;
  const TSourceMarkup markup = TSourceMarkup((data[0] & 0x7F) % 5);
  for (const TMarkupToken& token : TokenizeMarkup(raw)) {
    token.Attribute("n");
    StrongsWord(token.Attribute("lemma"));
  }
  const TConvertedVerse verse = ConvertVerseMarkup(raw, markup, options);
  TidyViewMarkup(verse.Text);
  TidyViewMarkup(raw);
  StrongsWord(raw);
  return 0;
}
