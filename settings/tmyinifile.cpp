#include "settings/tmyinifile.h"

#include <filesystem>
#include <system_error>

std::string IniFileNameFor(const std::string& executablePath) {
  size_t slash = executablePath.rfind('/');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = executablePath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return executablePath + ".ini";
  return executablePath.substr(0, dot) + ".ini";
}

std::string SettingsFileName() {
  std::error_code ec;
  std::string path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  if (ec || path.empty()) return "";
  // An executable replaced while running reads as "<path> (deleted)"; its name is still <path>.
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
    path.resize(path.size() - deleted.size());
  return IniFileNameFor(path);
}
