// Writes the versions the end-to-end tests start the program on: the English sample as version
// 4, the Bulgarian sample as version 0 and the Greek sample as version 9; the first two with the
// form groups the importer makes.

#include <cstdio>
#include <exception>

#include "tests/support/testversion.h"
#include "tools/bible-tool/twordforms.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: e2e_data ROOT/\n");
    return 2;
  }
  try {
    std::string root = argv[1];
    if (root.back() != '/') root += '/';
    WriteVersionForms(WriteSampleVersion(root, 4, EnglishSample()), 4, 0);
    WriteVersionForms(WriteSampleVersion(root, 0, BulgarianSample()), 0, 0);
    WriteSampleVersion(root, 9, GreekSample());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "e2e_data: %s\n", e.what());
    return 1;
  }
  return 0;
}
