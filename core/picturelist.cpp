#include "core/picturelist.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/ansi.h"

namespace {

// The word part of a line: the text before its first "="; false for a line without "=".
bool WordPart(const std::string& line, std::string_view& word) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  word = std::string_view(line).substr(0, eq);
  return true;
}

std::string ValuePart(const std::string& line) {
  const size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

// Position of the first line whose word part equals the word without regard to case, or -1.
long FirstLine(const std::vector<std::string>& lines, const std::string& word) {
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view part;
    if (WordPart(lines[i], part) && AnsiSameText(part, word)) return long(i);
  }
  return -1;
}

}  // namespace

void TPictureList::LoadFromFile(const std::string& fileName) {
  Lines.clear();
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return;
  // At most what the limits can take, so that a huge file is not read whole.
  std::string bytes;
  bytes.resize(MaxLines * 64);
  in.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  LoadFromBytes(bytes);
}

void TPictureList::LoadFromBytes(std::string_view bytes) {
  Lines.clear();
  size_t p = 0;
  while (p < bytes.size() && Lines.size() < MaxLines) {
    size_t end = bytes.find_first_of("\r\n", p);
    if (end == std::string_view::npos) end = bytes.size();
    if (end - p > MaxLineLength) break;
    if (end > p) Lines.emplace_back(bytes.substr(p, end - p));
    p = end + 1;
    if (end < bytes.size() && bytes[end] == '\r' && p < bytes.size() && bytes[p] == '\n') ++p;
  }
  std::stable_sort(Lines.begin(), Lines.end(), [](const std::string& a, const std::string& b) {
    return AnsiCompareText(a, b) < 0;
  });
}

std::string TPictureList::FirstPicture(const std::string& word) const {
  const long first = FirstLine(Lines, word);
  return first < 0 ? std::string() : ValuePart(Lines[size_t(first)]);
}

std::string TPictureList::NextPicture(const std::string& word, const std::string& current) const {
  const long first = FirstLine(Lines, word);
  if (first < 0) return std::string();
  // The current picture among the lines from the word's first one on; the word's lines stand
  // together, so the search ends at the first line of another word.
  size_t i = size_t(first);
  bool found = false;
  for (; i < Lines.size(); ++i) {
    std::string_view part;
    if (!WordPart(Lines[i], part) || !AnsiSameText(part, word)) break;
    if (ValuePart(Lines[i]) == current) {
      found = true;
      break;
    }
  }
  if (!found) return ValuePart(Lines[size_t(first)]);
  size_t next = i + 1;
  std::string_view part;
  if (next >= Lines.size() || !WordPart(Lines[next], part) || part != word) next = size_t(first);
  return ValuePart(Lines[next]);
}
