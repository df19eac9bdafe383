// bible-tool: reads and searches version folders and dictionaries from the command line through
// the same core code as the program. The import commands need libsword and ICU; they run in the
// importer executable installed beside this one, so that a look-up never loads those libraries.

#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "tools/bible-tool/tcommands.h"

namespace {

const char* const ImporterName = "bible-tool-import";

// The importer beside this executable (the build folder, or /usr/bin when both are installed
// there), else in the library folders a package keeps its helper programs in.
std::string FindImporter() {
  char self[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return {};
  self[n] = 0;
  std::string dir(self);
  dir.erase(dir.rfind('/') + 1);
  for (const char* relative : {"", "../libexec/bible-tool/", "../lib/bible-tool/"}) {
    std::string path = dir + relative + ImporterName;
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

int RunReading(const std::vector<std::string>& args) { return RunCommand(args, std::cout); }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::strncmp(argv[1], "import-", 7) == 0 ||
                   std::strncmp(argv[1], "library-", 8) == 0 ||
                   std::strcmp(argv[1], "--progress-lines") == 0)) {
    std::string importer = FindImporter();
    if (importer.empty()) {
      std::fprintf(stderr, "bible-tool: the importer %s is not installed beside bible-tool\n",
                   ImporterName);
      return 1;
    }
    argv[0] = importer.data();
    execv(importer.c_str(), argv);
    std::fprintf(stderr, "bible-tool: cannot start %s: %s\n", importer.c_str(),
                 std::strerror(errno));
    return 1;
  }
  return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), RunReading);
}
