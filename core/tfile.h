#pragma once
// The file layer under every reader: an owned file handle that reads exactly what a length
// promises or raises the input/output error. Files are opened in a sharing mode (plain stdio),
// so the same pair may be open in several readers at once.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class TFile {
 public:
  TFile() = default;
  ~TFile() { Close(); }
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  TFile(TFile&& other) noexcept;
  TFile& operator=(TFile&& other) noexcept;

  // Read-only. False when the file cannot be opened.
  bool OpenRead(const std::string& path);
  // Read-write where allowed, read-only where not; ReadOnly tells which. False when neither works.
  bool OpenReadWrite(const std::string& path);
  // Creates (or empties) the file for reading and writing. False when that is refused.
  bool Create(const std::string& path);
  void Close();

  bool IsOpen() const { return Handle != nullptr; }
  bool ReadOnly() const { return FReadOnly; }
  const std::string& Path() const { return FPath; }

  int64_t Size();
  int64_t Position();
  void Seek(int64_t position);
  // Reads up to n bytes; returns how many were there.
  size_t ReadSome(void* buffer, size_t n);
  // Reads exactly n bytes or raises the input/output error (read beyond end of file).
  void ReadExact(void* buffer, size_t n);
  // Writes all n bytes or raises the input/output error (disk write error).
  void Write(const void* buffer, size_t n);

 private:
  std::FILE* Handle = nullptr;
  bool FReadOnly = false;
  std::string FPath;
};

bool FileExists(const std::string& path);
// The whole file; empty when it is missing or cannot be read.
std::string ReadFileBytes(const std::string& path);

// Little-endian helpers over a byte buffer; they only look at the bytes they are given.
inline uint16_t GetU16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline int32_t GetI32(const unsigned char* p) {
  return int32_t(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                 (uint32_t(p[3]) << 24));
}
inline void PutU16(std::string& out, uint16_t v) {
  out.push_back(char(v & 0xFF));
  out.push_back(char(v >> 8));
}
inline void PutI32(std::string& out, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(char((u >> (8 * i)) & 0xFF));
}
