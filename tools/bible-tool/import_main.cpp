// bible-tool-import: the import commands of bible-tool (SWORD modules, MorphGNT files), started
// by "bible-tool import-..."; it can also be run by itself with the same arguments.

#include <unistd.h>

#include <string>
#include <vector>

#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"

namespace {

int RunImport(const std::vector<std::string>& args) {
  return RunImportCommand(args, isatty(STDERR_FILENO) != 0);
}

}  // namespace

int main(int argc, char** argv) {
  return RunCommandLine(std::vector<std::string>(argv + 1, argv + argc), RunImport);
}
