// The USFM reader on up to three book files read in order. Input: one byte choosing the version
// (its low bit: the version with Strong's numbers), then the files cut at the separator.

#include <exception>

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tusfm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::vector<std::string> parts = fuzz::Split(data + 1, size - 1, 3);
  const std::string folder = fuzz::CleanFolder("usfm");
  std::vector<std::string> files;
  for (size_t i = 0; i < parts.size() && i < 3; ++i) {
    files.push_back(folder + std::to_string(i) + ".usfm");
    fuzz::WriteFile(files.back(), parts[i]);
  }
  TImportLog log;
  try {
    ReadUsfmFiles(files, folder, data[0] & 1 ? 5 : 4, log);
  } catch (const std::exception&) {
    // Refused input is the expected outcome of most inputs.
  }
  return 0;
}
