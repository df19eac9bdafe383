#pragma once
// The illustration list "Pictures/DicPictures.txt": one line per picture, the word, "=", and the
// picture's file name relative to the folder "Pictures/". Bytes in the system's ANSI code page.
// The lines are kept sorted without regard to letter case, so the lines of one word stand
// together, ordered by their picture names.

#include <string>
#include <string_view>
#include <vector>

class TPictureList {
 public:
  // Reading stops at these limits, as at the end of the file: the list is a few hundred lines,
  // and a damaged or foreign file must not fill the memory.
  static constexpr size_t MaxLineLength = 4096;
  static constexpr size_t MaxLines = 100000;

  std::vector<std::string> Lines;

  // Replaces the lines by those of the file and sorts them; a missing file leaves the list empty.
  void LoadFromFile(const std::string& fileName);
  // The same from the file's bytes; CR LF, LF and CR end a line, empty lines are dropped.
  void LoadFromBytes(std::string_view bytes);

  // The picture of the first line whose word part equals the word without regard to case;
  // empty when there is none. A line without "=" has no word part and is never found.
  std::string FirstPicture(const std::string& word) const;
  // The word's picture after current, cycling: after the last line of the word (its word part
  // equal to the word exactly) comes the first again. When current is not among the word's
  // lines the first picture is the answer; a word without lines gives the empty name.
  std::string NextPicture(const std::string& word, const std::string& current) const;
};
