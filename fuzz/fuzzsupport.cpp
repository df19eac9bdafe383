#include "fuzz/fuzzsupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fuzz {

std::vector<std::string> Split(const uint8_t* data, size_t size, size_t count) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts;
  for (;;) {
    size_t at = input.find(Separator);
    if (at == std::string_view::npos) {
      parts.emplace_back(input);
      break;
    }
    parts.emplace_back(input.substr(0, at));
    input.remove_prefix(at + Separator.size());
  }
  if (parts.size() < count) parts.resize(count);
  return parts;
}

std::string Join(const std::vector<std::string>& parts) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += Separator;
    out += parts[i];
  }
  return out;
}

namespace {

std::string MakeWorkFolder() {
  std::string base = "/tmp";
  std::error_code ec;
  if (std::filesystem::is_directory("/dev/shm", ec) && access("/dev/shm", W_OK) == 0)
    base = "/dev/shm";
  std::string pattern = base + "/bible-fuzz-" + std::to_string(getpid()) + "-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  return pattern + "/";
}

struct TWorkFolder {
  std::string Path = MakeWorkFolder();
  ~TWorkFolder() {
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
};

}  // namespace

const std::string& WorkFolder() {
  static TWorkFolder folder;
  return folder.Path;
}

std::string CleanFolder(const std::string& name) {
  const std::string path = WorkFolder() + name + "/";
  std::error_code ec;
  std::filesystem::remove_all(path, ec);
  std::filesystem::create_directories(path, ec);
  return path;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::abort();
  }
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace fuzz
