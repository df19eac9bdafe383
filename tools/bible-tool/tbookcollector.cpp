#include <algorithm>
#include <array>

#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tsourcebooks.h"

namespace {

// OSIS names of the book numbers 1..66 and of Zefania's numbers 67..81; "" = no slot.
constexpr std::array<const char*, 81> NumberedBooks = {
    "Gen", "Exod", "Lev", "Num", "Deut", "Josh", "Judg", "Ruth", "1Sam", "2Sam", "1Kgs", "2Kgs",
    "1Chr", "2Chr", "Ezra", "Neh", "Esth", "Job", "Ps", "Prov", "Eccl", "Song", "Isa", "Jer", "Lam",
    "Ezek", "Dan", "Hos", "Joel", "Amos", "Obad", "Jonah", "Mic", "Nah", "Hab", "Zeph", "Hag",
    "Zech", "Mal", "Matt", "Mark", "Luke", "John", "Acts", "Rom", "1Cor", "2Cor", "Gal", "Eph",
    "Phil", "Col", "1Thess", "2Thess", "1Tim", "2Tim", "Titus", "Phlm", "Heb", "Jas", "1Pet",
    "2Pet", "1John", "2John", "3John", "Jude", "Rev",
    // 67..81: Judith, Wisdom, Tobit, Sirach, Baruch, 1 and 2 Maccabees, the additions to Daniel
    // and to Esther, the Prayer of Manasseh, 3 and 4 Maccabees, the Letter of Jeremiah, 1 and 2
    // Esdras.
    "Jdt", "Wis", "Tob", "Sir", "Bar", "1Macc", "2Macc", "", "", "PrMan", "3Macc", "", "EpJer",
    "1Esd", "2Esd"};

}  // namespace

int SlotOfProtestantNumber(int number) {
  if (number < 1 || number > int(NumberedBooks.size())) return 0;
  return BookSlotOfOsis(NumberedBooks[size_t(number - 1)]);
}

TBookCollector::TBuild& TBookCollector::Book(int slot) {
  for (TBuild& b : Books)
    if (b.Book.Slot == slot) return b;
  Books.emplace_back();
  Books.back().Book.Slot = slot;
  return Books.back();
}

void TBookCollector::Add(int slot, const std::string& label, int chapter, int verse,
                         const std::string& text, bool paragraph) {
  if (slot <= 0) {
    if (std::find(Result.Skipped.begin(), Result.Skipped.end(), label) == Result.Skipped.end())
      Result.Skipped.push_back(label);
    return;
  }
  if (chapter < 1 || chapter > 10000 || verse < 1 || verse > 255) {
    ++Result.VersesOutOfRange;
    return;
  }
  TBuild& b = Book(slot);
  if (b.Verses.size() < size_t(chapter)) {
    b.Verses.resize(size_t(chapter));
    b.Paragraphs.resize(size_t(chapter));
  }
  auto& verses = b.Verses[size_t(chapter - 1)];
  auto& paragraphs = b.Paragraphs[size_t(chapter - 1)];
  if (verses.size() < size_t(verse)) {
    verses.resize(size_t(verse));
    paragraphs.resize(size_t(verse));
  }
  std::string& stored = verses[size_t(verse - 1)];
  if (!text.empty()) stored += (stored.empty() ? "" : " ") + text;
  if (paragraph) paragraphs[size_t(verse - 1)] = true;
}

void TBookCollector::Name(int slot, const std::string& name, const std::string& shortName) {
  if (slot <= 0) return;
  TBuild& b = Book(slot);
  if (b.Book.Name.empty()) b.Book.Name = name;
  if (b.Book.ShortName.empty()) b.Book.ShortName = shortName;
}

TSourceBible TBookCollector::Finish() {
  for (TBuild& b : Books) {
    if (b.Verses.empty()) continue;  // named but without a verse
    for (size_t c = 0; c < b.Verses.size(); ++c) {
      if (b.Verses[c].empty()) {
        b.Verses[c].resize(1);
        b.Paragraphs[c].resize(1);
      }
    }
    b.Book.Chapters = std::move(b.Verses);
    b.Book.ParagraphStarts = std::move(b.Paragraphs);
    Result.Books.push_back(std::move(b.Book));
  }
  Books.clear();
  return std::move(Result);
}
