// The MyBible reader: a module and the commentaries beside it as SQLite files, and one verse's
// tags on their own. Input: module, commentaries, verse, cut at the separator; the verse's first
// byte chooses Strong's numbers and the testament.

#include <exception>

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tsqlitebibles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 3);
  const std::string& verse = parts[2];
  const int flags = verse.empty() ? 0 : (unsigned char)verse[0];
  ConvertMyBibleVerse(verse, flags & 1, flags & 2,
                      [&](const std::string& marker) { return marker + verse.substr(0, 16); });
  const std::string folder = fuzz::CleanFolder("mybible");
  fuzz::WriteFile(folder + "m.SQLite3", parts[0]);
  if (!parts[1].empty()) fuzz::WriteFile(folder + "m.commentaries.SQLite3", parts[1]);
  TImportLog log;
  try {
    ReadMyBible(folder + "m.SQLite3", flags & 1 ? 5 : 4, log);
  } catch (const std::exception&) {
    // Refused input is the expected outcome of most inputs.
  }
  return 0;
}
