// The OSIS reader on an arbitrary file. Input: one byte choosing the version (its low bit: the
// version with Strong's numbers), then the file.

#include <exception>

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tosis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string path = fuzz::CleanFolder("osis") + "bible.xml";
  fuzz::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
  TImportLog log;
  try {
    ReadOsis(path, data[0] & 1 ? 5 : 4, log);
  } catch (const std::exception&) {
    // Refused input is the expected outcome of most inputs.
  }
  return 0;
}
