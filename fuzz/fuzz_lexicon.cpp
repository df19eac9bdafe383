// The dictionary importers over outside files: the Abbott-Smith and Brown-Driver-Briggs XML
// lexicons and a FreeDict dictionary (its index of base-64 offsets and its data, plain or
// gzip-compressed), each result then written as a dictionary.
// Input: one byte choosing the reader, then the XML file, or the index and the data file.

#include <cstdlib>
#include <stdexcept>

#include "core/dictionarywriter.h"
#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tlexicons.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string> parts = fuzz::Split(data + 1, size - 1, 2);
  const std::string folder = fuzz::CleanFolder("lexicon");
  TImportLog log;
  TDictionaryData read;
  try {
    switch (data[0] % 3) {
      case 0:
        fuzz::WriteFile(folder + "x.xml", parts[0]);
        read = ReadAbbottSmith(folder + "x.xml", log);
        break;
      case 1:
        fuzz::WriteFile(folder + "x.xml", parts[0]);
        read = ReadBrownDriverBriggs(folder + "x.xml", log);
        break;
      default:
        fuzz::WriteFile(folder + "x.index", parts[0]);
        fuzz::WriteFile(folder + "x.dict.dz", parts[1]);
        read = ReadFreeDict(folder + "x.index", folder + "x.dict.dz", "Title", log);
        break;
    }
  } catch (const std::runtime_error&) {
    return 0;  // not well formed, or damaged compressed data
  }
  for (const TDictionaryArticle& article : read.Articles)
    if (article.Text.empty() || article.HeadwordOffsets.empty()) std::abort();
  if (read.Articles.empty()) return 0;
  try {
    WriteDictionary(folder + "out", read);
  } catch (const std::runtime_error&) {
  }
  return 0;
}
