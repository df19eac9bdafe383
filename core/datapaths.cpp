#include "core/datapaths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/tbible.h"

namespace fs = std::filesystem;

TDataPlaces DataPlaces;

namespace {

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// An XDG base folder: the variable when it holds an absolute path (the XDG rule ignores relative
// ones), else the fallback under the home folder; "" without a home.
std::string BaseFolder(const TGetEnv& env, const char* variable, const char* underHome) {
  const char* value = env(variable);
  if (value && value[0] == '/') return WithSlash(value);
  const char* home = env("HOME");
  if (!home || home[0] != '/') return std::string();
  return WithSlash(home) + underHome;
}

std::string ProgramSubfolder(const std::string& base) {
  return base.empty() ? base : base + "bible/";
}

// Whether a file can be made in the folder: the permission bits, the mount and the user's rights
// all count, so it is tried. A folder that does not exist is not judged.
bool WritableFolder(const std::string& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return true;
  const std::string probe = folder + ".bible-write-check-" + std::to_string(std::rand());
  std::FILE* f = std::fopen(probe.c_str(), "wb");
  if (!f) return false;
  std::fclose(f);
  fs::remove(probe, ec);
  return true;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !fs::is_directory(path, ec) && fs::exists(path, ec);
}

}  // namespace

std::string UserDataFolder(const TGetEnv& env) {
  return ProgramSubfolder(BaseFolder(env, "XDG_DATA_HOME", ".local/share/"));
}

TDataPlaces DataPlacesFor(const std::string& executablePath, const TGetEnv& env) {
  TDataPlaces places;
  const fs::path folder = fs::path(executablePath).parent_path();
  places.Data = WithSlash(folder.string());
  std::error_code ec;
  const fs::path shared = folder.parent_path() / "share" / "bible";
  if (folder.filename() != "bin" || !fs::is_directory(shared, ec)) {
    places.UserData = places.UserConfig = places.Data;
    if (!WritableFolder(places.Data)) {
      const std::string data = UserDataFolder(env);
      const std::string config = ProgramSubfolder(BaseFolder(env, "XDG_CONFIG_HOME", ".config/"));
      if (!data.empty() && !config.empty()) {
        places.Installed = places.ReadOnly = true;
        places.UserData = data;
        places.UserConfig = config;
      }
    }
    return places;
  }
  places.Installed = true;
  places.Data = WithSlash(shared.string());
  places.UserData = UserDataFolder(env);
  places.UserConfig = ProgramSubfolder(BaseFolder(env, "XDG_CONFIG_HOME", ".config/"));
  return places;
}

std::string MapDataPath(const TDataPlaces& places, const std::string& name, TPathUse use) {
  if (!places.Installed) return places.Data + name;
  switch (use) {
    case TPathUse::Settings:
      return places.UserConfig.empty() ? std::string() : places.UserConfig + name;
    case TPathUse::Write:
      return places.UserData.empty() ? std::string() : places.UserData + name;
    case TPathUse::Read:
      break;
  }
  // A folder name ("KJV/") counts as the user's when it exists; a file only when it is a file, so
  // that a version folder holding only the user's histories does not hide the installed text.
  std::error_code ec;
  if (!places.UserData.empty()) {
    const std::string own = places.UserData + name;
    if (name.empty() || name.back() == '/' ? fs::is_directory(own, ec) : IsFile(own)) return own;
  }
  return places.Data + name;
}

bool CarryPortableFiles(const TDataPlaces& places, const std::string& settingsName) {
  if (!places.ReadOnly) return false;
  std::error_code ec;
  auto carry = [&](const std::string& from, const std::string& to) {
    if (!IsFile(from) || fs::exists(to, ec)) return;
    fs::create_directories(fs::path(to).parent_path(), ec);
    // The copy takes the read-only file's permissions; the user's own copy is written later.
    if (fs::copy_file(from, to, ec))
      fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
  };
  const bool first = !fs::exists(places.UserConfig + settingsName, ec);
  carry(places.Data + settingsName, places.UserConfig + settingsName);
  for (int v = 0; v < VersionTableSize; ++v)
    for (const char* history : {"Search_List.txt", "VerseHistory.txt"})
      carry(places.Data + VersionDiskFolder(v) + history,
            places.UserData + VersionDiskFolder(v) + history);
  return first;
}

std::vector<std::string> DataFolders(const TDataPlaces& places, const std::string& name) {
  if (!places.Installed || places.UserData.empty()) return {places.Data + name};
  return {places.UserData + name, places.Data + name};
}

std::string ExecutablePath() {
  std::error_code ec;
  std::string path = fs::read_symlink("/proc/self/exe", ec).string();
  // An executable replaced while running reads as "<path> (deleted)"; its name is still <path>.
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
    path.resize(path.size() - deleted.size());
  return path;
}

TDataPlaces DataPlacesOfThisProgram() {
  return DataPlacesFor(ExecutablePath(), [](const char* name) { return std::getenv(name); });
}

void MakeFolderFor(const std::string& path) {
  if (path.empty()) return;
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
}

std::string DataFile(const std::string& name, TPathUse use) {
  if (!DataPlaces.Installed) return DataRoot + name;
  std::string path = MapDataPath(DataPlaces, name, use);
  // The user's folders appear with the first thing written there.
  if (use != TPathUse::Read) MakeFolderFor(path);
  return path;
}

std::vector<std::string> DataFileFolders(const std::string& name) {
  if (!DataPlaces.Installed) return {DataRoot + name};
  return DataFolders(DataPlaces, name);
}
