// bible-tool import-lexicon: the lexicons and FreeDict dictionaries of Debian's data packages.

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tlexicons.h"

namespace fs = std::filesystem;

int CommandImportLexicon(const std::vector<std::string>& args, bool) {
  NeedArguments(args, 4, 4);
  const std::string& kind = args[1];
  const std::string& source = args[2];
  const std::string& name = args[4];
  if (name.empty() || name.find_first_of("/\\") != std::string::npos || name[0] == '.')
    throw TUsageError("import-lexicon: NAME must be a plain file name");
  TImportLog log;
  TDictionaryData data;
  if (kind == "abbott-smith")
    data = ReadAbbottSmith(source, log);
  else if (kind == "bdb")
    data = ReadBrownDriverBriggs(source, log);
  else if (kind == "freedict")
    data = ReadFreeDict(source + ".index", source + ".dict.dz", "English-Bulgarian dictionary (FreeDict)", log);
  else
    throw TUsageError("import-lexicon: KIND is abbott-smith, bdb or freedict");
  if (data.Articles.empty()) throw std::runtime_error(source + ": no entries");
  const std::string folder = WithSlash(args[3]) + "Dictionaries";
  fs::create_directories(folder);
  // Written beside the others, then each file renamed into place: a failure leaves no part.
  const std::string temp = folder + "/.import-" + name + "-" + std::to_string(getpid());
  try {
    fs::create_directories(temp);
    WriteDictionary(temp + "/" + name, data);
    for (const char* suffix : {".ibp", ".ibf", "C.ibp", "C.ibf", ".ind"})
      fs::rename(temp + "/" + name + suffix, folder + "/" + name + suffix);
    fs::remove_all(temp);
  } catch (...) {
    std::error_code ec;
    fs::remove_all(temp, ec);
    throw;
  }
  std::fprintf(stderr, "%s/%s: %zu articles, %lld left out\n", folder.c_str(), name.c_str(),
               data.Articles.size(), static_cast<long long>(log.Omitted));
  return 0;
}
