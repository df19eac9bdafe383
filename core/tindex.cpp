#include "core/tindex.h"

#include "core/ansi.h"

namespace {
constexpr size_t MaxHeadword = 32;
}

TIndex::TIndex(const std::string& indexFileName, const TCharSet& extraLetters,
               const std::string& dataFileName) {
  Failed = true;
  Letters = extraLetters;
  if (!DataFile.OpenReadWrite(dataFileName)) return;
  Failed = false;
  TFile index;
  if (!index.OpenRead(indexFileName)) return;
  unsigned char head[32];
  if (index.ReadSome(head, 32) < 32) return;
  for (size_t b = 0; b < 256; ++b)
    if (head[b / 8] & (1u << (b % 8))) Letters.set(b);
  // The table is bounded by the file's own size, so a damaged index cannot make it grow further.
  const int64_t size = index.Size();
  const int64_t n = size > 32 ? (size - 32) / 4 : 0;
  std::vector<unsigned char> bytes(size_t(n) * 4);
  const size_t got = index.ReadSome(bytes.data(), bytes.size());
  Pointers.resize(got / 4);
  for (size_t k = 0; k < Pointers.size(); ++k) Pointers[k] = GetI32(&bytes[4 * k]);
}

std::string TIndex::Word(int32_t k) {
  if (Failed || k < 0 || k >= Count()) return {};
  const int32_t offset = Pointers[size_t(k)];
  if (offset < 0) return {};
  unsigned char buf[MaxHeadword];
  const int64_t remembered = DataFile.Position();
  DataFile.Seek(offset);
  const size_t got = DataFile.ReadSome(buf, MaxHeadword);
  DataFile.Seek(remembered);
  size_t n = 0;
  while (n < got && Letters.test(buf[n])) ++n;
  return std::string(reinterpret_cast<const char*>(buf), n);
}

bool TIndex::Find(const std::string& s, int32_t& position) {
  position = 0;
  if (s.empty()) return true;
  if (Count() == 0 || !Letters.test(static_cast<unsigned char>(s[0]))) return false;
  const std::string key = AnsiLowerCase(s);
  int32_t lo = 0, hi = Count() - 1;
  do {
    const int32_t mid = (lo + hi) / 2;
    position = mid;
    if (CompareBytes(key, AnsiLowerCase(Word(mid))) < 0)
      hi = mid;
    else
      lo = mid;
  } while (hi - lo >= 2);
  for (int32_t candidate : {lo, hi}) {
    position = candidate;
    const int cmp = CompareBytes(key, AnsiLowerCase(Word(candidate)));
    if (cmp < 0) return false;
    if (cmp == 0) return true;
  }
  position = hi + 1;
  return false;
}

std::string ChangeFileExt(const std::string& fileName, const std::string& ext) {
  const size_t slash = fileName.find_last_of("/\\");
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return fileName + ext;
  return fileName.substr(0, dot) + ext;
}

TLargeStringList1::TLargeStringList1(const std::string& fileName)
    : Index(std::make_unique<TIndex>(ChangeFileExt(fileName, ".ind"), TCharSet(),
                                     ChangeFileExt(fileName, ".ibf"))) {}

int32_t TLargeStringList1::GetCount() { return Index->Count(); }
std::string TLargeStringList1::Get(int32_t index) { return Index->Word(index); }
int32_t TLargeStringList1::IndexOf(const std::string& s) {
  int32_t position = 0;
  Index->Find(s, position);
  return position;
}
