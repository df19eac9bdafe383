#include "tools/bible-tool/tsourcebooks.h"

#include <versekey.h>

#include <array>

#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tcommands.h"

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

std::string Encode(TCodePage& cp, const std::string& utf8, TImportLog& log) {
  return EncodeLogged(cp, utf8, log);
}

}  // namespace

int SlotOfProtestantNumber(int number) {
  if (number < 1 || number > int(NumberedBooks.size())) return 0;
  return BookSlotOfOsis(NumberedBooks[size_t(number - 1)]);
}

TVersionData BuildVersion(const std::vector<TSourceBook>& books, int versionIndex,
                          TImportLog& log) {
  if (books.empty()) throw TInputError("no book with a place among the 78 book slots");
  TCodePage cp(VersionCodePage(versionIndex));
  TCodePage namesCp(versionIndex == 9 ? "windows-1251" : VersionCodePage(versionIndex));
  sword::VerseKey key;
  key.setLocale(VersionLocale(versionIndex).c_str());
  TVersionData data;
  int done = 0;
  for (const TSourceBook& b : books) {
    TVersionBook vb;
    vb.Slot = uint16_t(b.Slot);
    for (const auto& chapter : b.Chapters) {
      std::vector<std::string> verses;
      for (const std::string& verse : chapter)
        verses.push_back(Encode(
            cp, VerseForVersion(TConvertedVerse{TidyViewMarkup(verse), false}, versionIndex, log),
            log));
      vb.Chapters.push_back(std::move(verses));
    }
    const std::string osis = OsisOfBookSlot(b.Slot);
    std::string name = b.Name, abbreviation = b.ShortName;
    if (name.empty() || abbreviation.empty()) {
      key.setText((osis + " 1:1").c_str());
      const bool known = osis == key.getOSISBookName();
      if (name.empty()) name = known ? key.getBookName() : osis;
      if (abbreviation.empty()) abbreviation = known ? key.getBookAbbrev() : osis;
    }
    vb.Name = Encode(namesCp, TidyBookName(name), log);
    vb.Title = vb.Name;
    vb.ShortName = Encode(namesCp, TidyBookName(abbreviation), log);
    data.Books.push_back(std::move(vb));
    if (log.Progress) log.Progress(TidyBookName(name), ++done, int(books.size()));
  }
  DisambiguateShortNames(data.Books);
  return data;
}
