// bible-tool-import: the import commands of bible-tool (SWORD modules, MorphGNT files) and the
// module library's commands, started by "bible-tool import-..." and "bible-tool library-..."; it
// can also be run by itself with the same arguments. "--progress-lines" first makes it report
// its progress and failures as lines for the program's dialog (timportcommands.h).

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"
#include "tools/bible-tool/tmodulelibrary.h"

namespace {

void Failed(const char* kind) {
  if (!ProgressLines) return;
  std::printf("failed %s\n", kind);
  std::fflush(stdout);
}

int RunImport(const std::vector<std::string>& args) {
  try {
    return RunImportCommand(args, !ProgressLines && isatty(STDERR_FILENO) != 0);
  } catch (const TDownloadError&) {
    Failed("download");
    throw;
  } catch (const TUsageError&) {
    Failed("usage");
    throw;
  } catch (const TInputError&) {
    Failed("damaged");
    throw;
  } catch (const std::filesystem::filesystem_error&) {
    Failed("write");
    throw;
  } catch (const std::exception&) {
    Failed("other");
    throw;
  }
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  if (argc > 1 && std::strcmp(argv[1], "--progress-lines") == 0) {
    ProgressLines = true;
    first = 2;
  }
  return RunCommandLine(std::vector<std::string>(argv + first, argv + argc), RunImport);
}
