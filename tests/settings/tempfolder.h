#pragma once
// A temporary folder for one test, removed with everything in it afterwards.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

class TempFolder {
 public:
  TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/settings-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    Path = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    // Make everything writable again so that a test's read-only folder can be removed.
    for (auto& e : std::filesystem::recursive_directory_iterator(Path, ec))
      if (e.is_directory(ec)) ::chmod(e.path().c_str(), 0755);
    ::chmod(Path.c_str(), 0755);
    std::filesystem::remove_all(Path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string File(const std::string& name) const { return Path + "/" + name; }

  std::string Path;
};

inline std::string ReadAll(const std::string& fileName) {
  std::string data;
  if (std::FILE* f = std::fopen(fileName.c_str(), "rb")) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    std::fclose(f);
  }
  return data;
}

inline void WriteAll(const std::string& fileName, const std::string& data) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(data.data(), std::streamsize(data.size()));
}
