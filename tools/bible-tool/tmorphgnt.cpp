#include "tools/bible-tool/tmorphgnt.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/bible-tool/tbookslots.h"

namespace {

// MorphGNT numbers the books in the Western order.
const char* const WesternNewTestament[27] = {
    "Matt", "Mark", "Luke", "John", "Acts", "Rom", "1Cor", "2Cor", "Gal", "Eph",
    "Phil", "Col", "1Thess", "2Thess", "1Tim", "2Tim", "Titus", "Phlm", "Heb", "Jas",
    "1Pet", "2Pet", "1John", "2John", "3John", "Jude", "Rev"};

}  // namespace

int MorphGntBookSlot(int number) {
  if (number < 1 || number > 27) return 0;
  return BookSlotOfOsis(WesternNewTestament[number - 1]);
}

void ParseMorphGntLines(const std::string& content, const std::string& fileName,
                        std::vector<TMorphGntBook>& books) {
  std::istringstream in(content);
  std::string line;
  int lineNumber = 0;
  int lastBook = -1;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    std::istringstream fields(line);
    std::string ref, pos, parsing, text;
    if (!(fields >> ref >> pos >> parsing >> text) || ref.size() != 6 ||
        !std::all_of(ref.begin(), ref.end(), [](char c) { return c >= '0' && c <= '9'; }))
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) +
                               ": not a MorphGNT line");
    int book = std::stoi(ref.substr(0, 2));
    int chapter = std::stoi(ref.substr(2, 2));
    int verse = std::stoi(ref.substr(4, 2));
    int slot = MorphGntBookSlot(book);
    if (slot == 0 || chapter < 1 || verse < 1)
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) + ": bad reference " +
                               ref);
    if (book != lastBook) {
      auto it = std::find_if(books.begin(), books.end(),
                             [slot](const TMorphGntBook& b) { return b.Slot == slot; });
      if (it == books.end()) {
        books.push_back(TMorphGntBook{slot, {}, {}});
      } else if (it + 1 != books.end()) {
        throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) +
                                 ": book continues after another book");
      }
      lastBook = book;
    }
    TMorphGntBook& b = books.back();
    if (size_t(chapter) < b.Chapters.size())
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) +
                               ": chapters out of order");
    // Chapters and verses without words stay empty; the structure still counts them.
    if (b.Chapters.size() < size_t(chapter)) b.Chapters.resize(size_t(chapter));
    auto& verses = b.Chapters[size_t(chapter - 1)];
    if (size_t(verse) < verses.size())
      throw std::runtime_error(fileName + ":" + std::to_string(lineNumber) +
                               ": verses out of order");
    if (verses.size() < size_t(verse)) verses.resize(size_t(verse));
    std::string& v = verses[size_t(verse - 1)];
    if (!v.empty()) v.push_back(' ');
    v += text;
    std::string word, normalized, lemma;
    if (fields >> word >> normalized >> lemma) b.Lemmas.emplace_back(word, lemma);
  }
}

std::vector<TMorphGntBook> ReadMorphGnt(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw std::runtime_error("no such folder: " + folder);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.size() > 13 && name.compare(name.size() - 13, 13, "-morphgnt.txt") == 0)
      files.push_back(entry.path());
  }
  if (ec) throw std::runtime_error("cannot read folder " + folder + ": " + ec.message());
  if (files.empty()) throw std::runtime_error("no MorphGNT files (*-morphgnt.txt) in " + folder);
  std::sort(files.begin(), files.end());
  std::vector<TMorphGntBook> books;
  for (const fs::path& p : files) {
    std::ifstream f(p, std::ios::binary);
    if (!f) throw std::runtime_error("cannot open " + p.string());
    std::ostringstream content;
    content << f.rdbuf();
    ParseMorphGntLines(content.str(), p.string(), books);
  }
  return books;
}
