#pragma once
// An information base: a pointer file of 32-bit offsets and a data file of length-prefixed or
// line records. Format: doc/formats.md, "Information base".

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/tfile.h"

class TInfoFile {
 public:
  // Pointer file = baseName + ".ibp", data file = baseName + ".ibf".
  explicit TInfoFile(const std::string& baseName);
  TInfoFile(const std::string& pointerFileName, const std::string& dataFileName);
  ~TInfoFile() = default;
  TInfoFile(const TInfoFile&) = delete;
  TInfoFile& operator=(const TInfoFile&) = delete;

  bool Failed = false;

  int32_t Count();
  int32_t ReadPointer(int32_t i);
  uint16_t RecordLength(int32_t i);
  std::string ReadRecord(int32_t i);
  // A new block of exactly RecordLength(i) bytes; empty (absent) when the record does not exist.
  std::vector<unsigned char> ReadBlock(int32_t i);
  std::string ReadLine(int32_t i);
  // Index of the first line not below s (0..Count) in the lower-cased byte order; -1 when Failed.
  int32_t FindLine(const std::string& s);

 private:
  void Open(const std::string& pointerFileName, const std::string& dataFileName);

  TFile PointerFile;
  TFile DataFile;
};
