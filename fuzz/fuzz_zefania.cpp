// A Zefania XML Bible as the importer takes it: the books, chapters and verses it keeps, the
// version built from them in the version's code page, and that version written as a folder.
// Whatever the reader accepts must fit the folder's limits or be refused with a message.
// Input: one byte choosing the version index, then the file.

#include <cstdlib>
#include <set>
#include <stdexcept>

#include "core/tbible.h"
#include "core/versionwriter.h"
#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tzefania.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int version = data[0] % 11;
  const std::string folder = fuzz::CleanFolder("zefania");
  fuzz::WriteFile(folder + "bible.xml",
                  std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  TImportLog log;
  TZefaniaResult read;
  try {
    read = ReadZefania(folder + "bible.xml", version, log);
  } catch (const TInputError&) {
    return 0;
  }
  if (read.Books.empty()) std::abort();  // "no book with a place" is an error, not an empty result
  std::set<int> slots;
  for (const TSourceBook& book : read.Books) {
    // One book per slot: a book given twice or split over files is merged.
    if (book.Slot < 1 || book.Slot > 78 || !slots.insert(book.Slot).second) std::abort();
    for (const auto& chapter : book.Chapters)
      if (chapter.empty() || chapter.size() > 255) std::abort();
  }
  try {
    const TVersionData built = BuildVersion(read.Books, version, log);
    if (built.Books.size() != read.Books.size()) std::abort();
    WriteVersionFolder(folder + "out", built, VersionLetters(version));
  } catch (const std::runtime_error&) {
    // More verses than a version folder holds: refused with a message.
  }
  return 0;
}
