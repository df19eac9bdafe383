// TInfoFile over an arbitrary pair: the count, every record read as a length-prefixed record, a
// block and a line, and FindLine.
// Input: pointer file, data file, then any number of search texts.

#include <cstdlib>

#include "core/eioerror.h"
#include "core/tinfofile.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 3);
  const std::string folder = fuzz::CleanFolder("pair");
  fuzz::WriteFile(folder + "X.ibp", parts[0]);
  fuzz::WriteFile(folder + "X.ibf", parts[1]);
  TInfoFile pair(folder + "X");
  if (pair.Failed) std::abort();  // both files exist and are readable
  const int32_t count = pair.Count();
  if (count != int32_t(parts[0].size() / 4)) std::abort();
  auto readAll = [&](int32_t i) {
    try {
      pair.ReadPointer(i);
      const uint16_t length = pair.RecordLength(i);
      const std::string record = pair.ReadRecord(i);
      if (record.size() != length && !record.empty()) std::abort();
      const std::vector<unsigned char> block = pair.ReadBlock(i);
      if (block.size() != record.size()) std::abort();
    } catch (const EInOutError&) {
    }
    try {
      pair.ReadLine(i);
    } catch (const EInOutError&) {
    }
  };
  for (int32_t i = 0; i < count && i < fuzz::ReadBudget; ++i) readAll(i);
  for (int32_t i : {-1, count, INT32_MAX, INT32_MIN}) readAll(i);
  for (size_t k = 2; k < parts.size() && k < 20; ++k) {
    try {
      const int32_t at = pair.FindLine(parts[k]);
      if (at < 0 || at > count) std::abort();
    } catch (const EInOutError&) {
    }
  }
  return 0;
}
