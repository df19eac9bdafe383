// The e-Sword reader: a module as an SQLite file, and one verse's RTF on its own. Input: module,
// verse, cut at the separator; the verse's first byte chooses Strong's numbers.

#include <exception>

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tsqlitebibles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 2);
  const bool strongs = !parts[1].empty() && (parts[1][0] & 1);
  ConvertESwordVerse(parts[1], strongs);
  const std::string path = fuzz::CleanFolder("esword") + "m.bblx";
  fuzz::WriteFile(path, parts[0]);
  TImportLog log;
  try {
    ReadESword(path, strongs ? 5 : 4, log);
  } catch (const std::exception&) {
    // Refused input is the expected outcome of most inputs.
  }
  return 0;
}
