// bible-tool: imports SWORD modules and MorphGNT files into version folders and dictionaries, and
// reads and searches them from the command line through the same core code as the program.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/bible-tool/tcommands.h"

namespace {

const char* const Usage =
    "usage: bible-tool COMMAND ARGUMENTS\n"
    "  import-sword MODULE VERSION DATA_ROOT\n"
    "  import-morphgnt DIR DATA_ROOT\n"
    "  import-sword-dict MODULE DATA_ROOT [NAME]\n"
    "  verse DATA_ROOT VERSION REFERENCE\n"
    "  chapter DATA_ROOT VERSION REFERENCE\n"
    "  search DATA_ROOT VERSION TEXT [MODE TEXT]... [--books all|ot|nt|SLOT,SLOT-SLOT...]\n"
    "  words DATA_ROOT VERSION PREFIX [N]\n"
    "  dict DATA_ROOT WORD\n"
    "VERSION is a version index 0..10 or its folder name (KJV, GR, ...); MODE is и, или or без.\n";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    std::fputs(Usage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  try {
    return RunCommand(args, std::cout, isatty(STDERR_FILENO) != 0);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "bible-tool: %s\n%s", e.what(), Usage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bible-tool: %s\n", e.what());
    return 1;
  }
}
