// The illustration list: any bytes as DicPictures.txt, then the first picture and the cycle of
// every word it names, and of words it does not name.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/picturelist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TPictureList list;
  list.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  if (list.Lines.size() > TPictureList::MaxLines) std::abort();
  size_t checked = 0;
  for (const std::string& line : list.Lines) {
    if (line.size() > TPictureList::MaxLineLength || ++checked > 64) break;
    const std::string word = line.substr(0, line.find('='));
    const std::string first = list.FirstPicture(word);
    // A word with lines always has a picture to cycle through, and the cycle stays in its lines.
    std::string next = list.NextPicture(word, first);
    for (int k = 0; k < 4; ++k) next = list.NextPicture(word, next);
    list.NextPicture(word, "not among the lines");
    list.FirstPicture(line);
  }
  return 0;
}
