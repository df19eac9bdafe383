#include "core/tinfofile.h"

#include <cstdio>

#include "core/ansi.h"

namespace {

constexpr unsigned char InitialDataRecord[6] = {0x04, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr size_t LineBlock = 255;

}  // namespace

TInfoFile::TInfoFile(const std::string& baseName) { Open(baseName + ".ibp", baseName + ".ibf"); }

TInfoFile::TInfoFile(const std::string& pointerFileName, const std::string& dataFileName) {
  Open(pointerFileName, dataFileName);
}

// Opens for writing where allowed and read-only where not, so that a read-only version folder
// still reads. A missing file is created (only where the folder allows it); an existing file is
// never recreated, because creating would empty it.
void TInfoFile::Open(const std::string& pointerFileName, const std::string& dataFileName) {
  Failed = false;
  bool createdPointer = false;
  if (!PointerFile.OpenReadWrite(pointerFileName)) {
    if (FileExists(pointerFileName) || !PointerFile.Create(pointerFileName)) {
      Failed = true;
      return;
    }
    createdPointer = true;
  }
  if (DataFile.OpenReadWrite(dataFileName)) return;
  if (!FileExists(dataFileName) && DataFile.Create(dataFileName)) {
    DataFile.Write(InitialDataRecord, sizeof InitialDataRecord);
    return;
  }
  PointerFile.Close();
  if (createdPointer) std::remove(pointerFileName.c_str());
  Failed = true;
}

int32_t TInfoFile::Count() {
  if (Failed) return 0;
  const int64_t entries = PointerFile.Size() / 4;
  return entries > INT32_MAX ? INT32_MAX : int32_t(entries);
}

int32_t TInfoFile::ReadPointer(int32_t i) {
  if (Failed || i < 0 || i >= Count()) return -1;
  unsigned char buf[4];
  PointerFile.Seek(int64_t(i) * 4);
  PointerFile.ReadExact(buf, 4);
  const int32_t p = GetI32(buf);
  return p < 0 ? -1 : p;
}

uint16_t TInfoFile::RecordLength(int32_t i) {
  const int32_t p = ReadPointer(i);
  if (p < 0 || DataFile.Size() < int64_t(p) + 2) return 0;
  unsigned char buf[2];
  DataFile.Seek(p);
  DataFile.ReadExact(buf, 2);
  return GetU16(buf);
}

std::string TInfoFile::ReadRecord(int32_t i) {
  if (Failed) return {};
  const uint16_t length = RecordLength(i);
  if (length == 0) return {};
  std::string out(length, '\0');
  DataFile.ReadExact(out.data(), length);
  return out;
}

std::vector<unsigned char> TInfoFile::ReadBlock(int32_t i) {
  if (Failed) return {};
  const uint16_t length = RecordLength(i);
  if (length == 0) return {};
  std::vector<unsigned char> out(length);
  DataFile.ReadExact(out.data(), length);
  return out;
}

std::string TInfoFile::ReadLine(int32_t i) {
  if (Failed) return {};
  const int32_t p = ReadPointer(i);
  if (p < 0) return {};
  DataFile.Seek(p);
  std::string line;
  char buf[LineBlock];
  for (;;) {
    const size_t got = DataFile.ReadSome(buf, LineBlock);
    for (size_t k = 0; k < got; ++k) {
      if (buf[k] == '\r') {
        line.append(buf, k);
        return line;
      }
    }
    line.append(buf, got);
    if (got < LineBlock) return line;
  }
}

int32_t TInfoFile::FindLine(const std::string& s) {
  if (Failed) return -1;
  const std::string key = AnsiLowerCase(s);
  int32_t lo = 0;
  int32_t hi = Count() - 1;
  do {
    const int32_t mid = (lo + hi) / 2;
    if (CompareBytes(key, AnsiLowerCase(ReadLine(mid))) > 0)
      lo = mid;
    else
      hi = mid;
  } while (hi - lo >= 2);
  if (CompareBytes(key, AnsiLowerCase(ReadLine(lo))) <= 0) return lo;
  if (CompareBytes(key, AnsiLowerCase(ReadLine(hi))) > 0) return hi + 1;
  return hi;
}
