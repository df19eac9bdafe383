#include "settings/tmyinifile.h"

#include <filesystem>
#include <system_error>

#include "core/datapaths.h"

std::string IniFileNameFor(const std::string& executablePath) {
  size_t slash = executablePath.rfind('/');
  size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = executablePath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return executablePath + ".ini";
  return executablePath.substr(0, dot) + ".ini";
}

std::string SettingsFileName() {
  const std::string path = ExecutablePath();
  if (path.empty()) return "";
  const TDataPlaces places = DataPlacesOfThisProgram();
  if (!places.Installed) return IniFileNameFor(path);
  const std::string name = MapDataPath(
      places, IniFileNameFor(std::filesystem::path(path).filename().string()), TPathUse::Settings);
  MakeFolderFor(name);
  return name;
}
