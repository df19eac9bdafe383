#include "core/tfile.h"

#include <cerrno>
#include <filesystem>
#include <limits>
#include <memory>
#include <system_error>
#include <utility>

#include "core/eioerror.h"

TFile::TFile(TFile&& other) noexcept
    : Handle(std::exchange(other.Handle, nullptr)),
      FReadOnly(other.FReadOnly),
      FPath(std::move(other.FPath)) {}

TFile& TFile::operator=(TFile&& other) noexcept {
  if (this != &other) {
    Close();
    Handle = std::exchange(other.Handle, nullptr);
    FReadOnly = other.FReadOnly;
    FPath = std::move(other.FPath);
  }
  return *this;
}

namespace {

// fopen succeeds on a folder on Linux; a reader must treat that as "cannot be opened".
bool IsRegularOrMissing(const std::string& path) {
  std::error_code ec;
  auto st = std::filesystem::status(path, ec);
  if (ec) return true;
  return !std::filesystem::is_directory(st);
}

}  // namespace

bool TFile::OpenRead(const std::string& path) {
  Close();
  if (!IsRegularOrMissing(path)) return false;
  Handle = std::fopen(path.c_str(), "rb");
  FReadOnly = true;
  FPath = path;
  return Handle != nullptr;
}

bool TFile::OpenReadWrite(const std::string& path) {
  Close();
  if (!IsRegularOrMissing(path)) return false;
  Handle = std::fopen(path.c_str(), "r+b");
  FReadOnly = false;
  if (!Handle && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    Handle = std::fopen(path.c_str(), "rb");
    FReadOnly = true;
  }
  FPath = path;
  return Handle != nullptr;
}

bool TFile::Create(const std::string& path) {
  Close();
  if (!IsRegularOrMissing(path)) return false;
  Handle = std::fopen(path.c_str(), "w+b");
  FReadOnly = false;
  FPath = path;
  return Handle != nullptr;
}

void TFile::Close() {
  if (Handle) std::fclose(Handle);
  Handle = nullptr;
}

int64_t TFile::Size() {
  if (!Handle) return 0;
  const long here = std::ftell(Handle);
  if (std::fseek(Handle, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(Handle);
  std::fseek(Handle, here < 0 ? 0 : here, SEEK_SET);
  return size < 0 ? 0 : size;
}

int64_t TFile::Position() {
  if (!Handle) return 0;
  const long here = std::ftell(Handle);
  return here < 0 ? 0 : here;
}

void TFile::Seek(int64_t position) {
  if (!Handle) return;
  if (position < 0) position = 0;
  if (position > std::numeric_limits<long>::max()) position = std::numeric_limits<long>::max();
  std::fseek(Handle, static_cast<long>(position), SEEK_SET);
}

size_t TFile::ReadSome(void* buffer, size_t n) {
  if (!Handle || n == 0) return 0;
  return std::fread(buffer, 1, n, Handle);
}

void TFile::ReadExact(void* buffer, size_t n) {
  if (ReadSome(buffer, n) != n) RaiseInOutError(ioReadBeyondEnd, FPath);
}

void TFile::Write(const void* buffer, size_t n) {
  if (n == 0) return;
  if (!Handle || FReadOnly || std::fwrite(buffer, 1, n, Handle) != n || std::fflush(Handle) != 0)
    RaiseInOutError(ioDiskWrite, FPath);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

std::string ReadFileBytes(const std::string& path) {
  std::string data;
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"),
                                                          &std::fclose);
  if (!f) return data;
  char buffer[65536];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, f.get())) data.append(buffer, n);
  if (std::ferror(f.get())) data.clear();
  return data;
}
