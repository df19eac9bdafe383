#pragma once
// Shared pieces of the fuzz targets: one input carries several files, cut at Separator; the files
// are written into a private folder of the process (on a memory file system where there is one),
// in which the readers then work.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Between the files of one input. Seeds and the dictionary (fuzz/fuzz.dict) use the same bytes.
inline constexpr std::string_view Separator =
    "\xFF\xFE"
    "FILE"
    "\xFE\xFF";

// The parts of the input; always at least `count` of them, missing ones empty.
std::vector<std::string> Split(const uint8_t* data, size_t size, size_t count);
std::string Join(const std::vector<std::string>& parts);

// The process's own folder, with a trailing "/"; made on first use, removed at exit.
const std::string& WorkFolder();
// A fresh, empty subfolder of WorkFolder() (the same path each time), with a trailing "/".
std::string CleanFolder(const std::string& name);

void WriteFile(const std::string& path, std::string_view bytes);

// At most this many verses, records or lines are read per input, so that a large count in a
// damaged file makes a slow input, never a time-out.
inline constexpr int ReadBudget = 100;

}  // namespace fuzz
