#include "tools/bible-tool/tswordlibrary.h"

#include <stdlib.h>
#include <swmodule.h>
#include <zip.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tools/bible-tool/tcommands.h"

namespace fs = std::filesystem;

namespace {

constexpr int64_t MaxEntries = 10000;
constexpr uint64_t MaxUnpacked = uint64_t(1) << 30;
constexpr uint64_t MaxRatio = 100;

struct TZipCloser {
  void operator()(zip_t* z) const { zip_discard(z); }
};
struct TZipFileCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};

// The entry's name as a path inside the package, or "" when it would leave the folder.
std::string SafeEntryPath(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find('\\') != std::string::npos ||
      name.find(':') != std::string::npos)
    return {};
  fs::path p = fs::path(name).lexically_normal();
  for (const auto& part : p)
    if (part == "..") return {};
  return p.string();
}

std::string ConfigSection(const fs::path& conf) {
  std::ifstream in(conf);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']')
      return line.substr(1, line.size() - 2);
  }
  return {};
}

std::string MakeTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/bible-tool-sword-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  return pattern;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

void UnpackZip(const std::string& zipPath, const std::string& folder) {
  int error = 0;
  std::unique_ptr<zip_t, TZipCloser> zip(
      zip_open(zipPath.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!zip) {
    zip_error_t e;
    zip_error_init_with_code(&e, error);
    std::string message = zip_error_strerror(&e);
    zip_error_fini(&e);
    throw TInputError(zipPath + " is not a readable ZIP package: " + message);
  }
  const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  if (count < 0 || count > MaxEntries)
    throw TInputError(zipPath + ": too many entries for a module package");
  // Every name and declared size is checked before anything is written.
  struct TEntry {
    zip_uint64_t Index;
    std::string Path;
    uint64_t Size;
  };
  std::vector<TEntry> entries;
  uint64_t declared = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t st;
    if (zip_stat_index(zip.get(), zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
      throw TInputError(zipPath + ": damaged entry " + std::to_string(i));
    const std::string name = st.name;
    const std::string path = SafeEntryPath(name);
    if (path.empty())
      throw TInputError(zipPath + ": entry " + name +
                        " would be written outside the package's folder");
    if (name.back() == '/') continue;
    const uint64_t size = (st.valid & ZIP_STAT_SIZE) ? st.size : 0;
    const uint64_t packed = (st.valid & ZIP_STAT_COMP_SIZE) ? st.comp_size : 0;
    declared += size;
    if (declared > MaxUnpacked) throw TInputError(zipPath + ": unpacks to more than 1 GiB");
    if (size > (uint64_t(1) << 20) && size / std::max<uint64_t>(packed, 1) > MaxRatio)
      throw TInputError(zipPath + ": entry " + name + " is packed more than 100 to 1");
    entries.push_back({zip_uint64_t(i), path, size});
  }
  // The sizes a package declares may lie: what is written is counted and cut off as well.
  uint64_t written = 0;
  std::vector<char> buffer(1 << 16);
  for (const TEntry& e : entries) {
    const fs::path target = fs::path(folder) / e.Path;
    fs::create_directories(target.parent_path());
    std::unique_ptr<zip_file_t, TZipFileCloser> in(zip_fopen_index(zip.get(), e.Index, 0));
    if (!in)
      throw TInputError(zipPath + ": cannot read " + e.Path + ": " + zip_strerror(zip.get()));
    std::ofstream out(target, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + target.string());
    uint64_t entryWritten = 0;
    while (true) {
      const zip_int64_t n = zip_fread(in.get(), buffer.data(), buffer.size());
      if (n < 0) throw TInputError(zipPath + ": damaged data in " + e.Path);
      if (n == 0) break;
      entryWritten += uint64_t(n);
      written += uint64_t(n);
      if (entryWritten > e.Size || written > MaxUnpacked)
        throw TInputError(zipPath + ": " + e.Path + " unpacks to more than its declared size");
      out.write(buffer.data(), n);
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + target.string());
  }
}

TSwordSource::TSwordSource(const std::string& source) {
  std::error_code ec;
  // A bare name is a module's even when the working folder holds a file or a folder of that name
  // (a version folder "KJV" beside the user): a path says so with a "/" or the package's ".zip".
  const bool path = source.find('/') != std::string::npos ||
                    fs::is_directory(fs::path(source) / "mods.d", ec) ||
                    (source.size() > 4 && strcasecmp(source.c_str() + source.size() - 4, ".zip") == 0);
  if (!path) {
    FName = source;
    return;
  }
  if (fs::is_regular_file(source, ec)) {
    FTemporary = MakeTemporaryFolder();
    try {
      UnpackZip(source, FTemporary);
    } catch (...) {
      fs::remove_all(FTemporary, ec);
      throw;
    }
    FLibrary = FTemporary;
  } else if (fs::is_directory(source, ec)) {
    if (!fs::is_directory(fs::path(source) / "mods.d", ec))
      throw TInputError(source + " is not a SWORD library folder: it has no mods.d folder");
    // Configuration files copied, the module files read where they are through a link.
    FTemporary = MakeTemporaryFolder();
    fs::create_directories(fs::path(FTemporary) / "mods.d");
    for (const auto& entry : fs::directory_iterator(fs::path(source) / "mods.d", ec))
      if (entry.path().extension() == ".conf")
        fs::copy_file(entry.path(), fs::path(FTemporary) / "mods.d" / entry.path().filename(), ec);
    for (const auto& entry : fs::directory_iterator(source, ec))
      if (entry.path().filename() != "mods.d")
        fs::create_directory_symlink(fs::absolute(entry.path()),
                                     fs::path(FTemporary) / entry.path().filename(), ec);
    FLibrary = FTemporary;
  } else {
    throw TInputError("no such module package or library folder: " + source);
  }
  const fs::path mods = fs::path(FLibrary) / "mods.d";
  if (fs::is_directory(mods, ec))
    for (const auto& entry : fs::directory_iterator(mods, ec))
      if (entry.path().extension() == ".conf") {
        std::string name = ConfigSection(entry.path());
        if (!name.empty()) FModules.push_back(name);
      }
  if (FModules.empty()) {
    fs::remove_all(FTemporary, ec);
    throw TInputError(source + " holds no SWORD module (no mods.d/*.conf with a [name] line)");
  }
  std::sort(FModules.begin(), FModules.end());
}

TSwordSource::~TSwordSource() {
  std::error_code ec;
  if (!FTemporary.empty()) fs::remove_all(FTemporary, ec);
}

void CheckModuleFiles(const sword::SWModule& module, const std::string& library,
                      const std::vector<std::string>& drivers) {
  auto entry = [&module](const char* key) {
    const char* v = module.getConfigEntry(key);
    return std::string(v ? v : "");
  };
  const std::string name = module.getName();
  const std::string driver = entry("ModDrv");
  auto is = [&driver](std::initializer_list<const char*> names) {
    for (const char* n : names)
      if (strcasecmp(driver.c_str(), n) == 0) return true;
    return false;
  };
  bool wanted = false;
  for (const std::string& d : drivers)
    wanted = wanted || strcasecmp(d.c_str(), driver.c_str()) == 0;
  if (!wanted)
    throw TInputError("SWORD module " + name + ": its driver \"" + driver +
                      "\" is not one this command reads");
  std::string path = entry("AbsoluteDataPath");
  if (path.empty()) {
    std::string prefix = entry("PrefixPath");
    if (prefix.empty()) prefix = library;
    std::string data = entry("DataPath");
    if (data.rfind("./", 0) == 0) data.erase(0, 2);
    path = prefix + (prefix.empty() || prefix.back() == '/' ? "" : "/") + data;
  } else if (is({"RawLD", "RawLD4", "zLD"})) {
    // libsword keeps the folder there; a dictionary's DataPath ends in its files' common name.
    std::error_code ec;
    const std::string stem = fs::path(entry("DataPath")).filename().string();
    if (fs::is_directory(path, ec) && !stem.empty()) path = (fs::path(path) / stem).string();
  }
  const bool compressed = is({"zText", "zText4", "zCom", "zCom4", "zLD"});
  if (compressed) {
    const std::string type = entry("CompressType");
    if (type.empty())
      throw TInputError("SWORD module " + name +
                        ": its configuration names the compressed driver " + driver +
                        " but no CompressType");
    if (!(strcasecmp(type.c_str(), "ZIP") == 0 || strcasecmp(type.c_str(), "LZSS") == 0 ||
          strcasecmp(type.c_str(), "BZIP2") == 0 || strcasecmp(type.c_str(), "XZ") == 0))
      throw TInputError("SWORD module " + name + ": unknown CompressType " + type);
  }
  std::vector<std::vector<std::string>> alternatives;
  const std::string folder = path.empty() || path.back() == '/' ? path : path + "/";
  if (is({"RawText", "RawText4", "RawCom", "RawCom4"})) {
    for (const char* t : {"ot", "nt"}) alternatives.push_back({folder + t, folder + t + ".vss"});
  } else if (compressed && !is({"zLD"})) {
    std::string type = entry("BlockType");
    std::string letters = "bcv";
    if (strcasecmp(type.c_str(), "BOOK") == 0) letters = "b";
    if (strcasecmp(type.c_str(), "CHAPTER") == 0) letters = "c";
    if (strcasecmp(type.c_str(), "VERSE") == 0) letters = "v";
    for (const char* t : {"ot", "nt"})
      for (char l : letters) {
        const std::string base = folder + t + "." + l;
        alternatives.push_back({base + "zs", base + "zv", base + "zz"});
      }
  } else if (is({"zLD"})) {
    alternatives.push_back({path + ".idx", path + ".dat", path + ".zdx", path + ".zdt"});
  } else if (is({"RawLD", "RawLD4"})) {
    alternatives.push_back({path + ".idx", path + ".dat"});
  }
  for (const auto& files : alternatives)
    if (std::all_of(files.begin(), files.end(), Exists)) return;
  throw TInputError("SWORD module " + name + ": the files its configuration promises for driver " +
                    driver + " are missing under " + path);
}
