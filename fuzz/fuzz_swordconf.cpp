// A SWORD library folder as the importer takes it: the module names its configuration files
// give, then libsword's reading of the configuration and the check of what it promises (driver,
// compression, data path) against the files there.
// Input: the .conf file, then the relative paths of files to make, one a line.

#include <swmgr.h>
#include <swmodule.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fuzz/fuzzsupport.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tswordlibrary.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 2);
  const std::string folder = fuzz::CleanFolder("library");
  fs::create_directories(folder + "mods.d");
  fuzz::WriteFile(folder + "mods.d/module.conf", parts[0]);
  std::istringstream names(parts[1]);
  std::string name;
  for (int made = 0; std::getline(names, name) && made < 20; ++made) {
    // Only inside the folder: the harness must not write elsewhere, whatever the input.
    const fs::path relative = fs::path(name).lexically_normal();
    if (name.empty() || relative.is_absolute() || relative.empty() ||
        *relative.begin() == "..")
      continue;
    // A name that clashes with a folder or a file made before is left out.
    std::error_code ec;
    fs::create_directories((fs::path(folder) / relative).parent_path(), ec);
    std::ofstream((fs::path(folder) / relative).string(), std::ios::binary) << 'x';
  }
  try {
    TSwordSource source(folder);
    if (source.Modules().empty()) std::abort();  // refused rather than empty
    sword::SWMgr manager(source.Library().c_str(), true, nullptr, false, false);
    for (const auto& [key, module] : manager.getModules()) {
      try {
        CheckModuleFiles(*module, source.Library(),
                         {"RawText", "RawText4", "zText", "zText4", "RawLD", "RawLD4", "zLD"});
      } catch (const TInputError&) {
      }
    }
  } catch (const TInputError&) {
  }
  return 0;
}
