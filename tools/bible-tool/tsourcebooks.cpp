#include "tools/bible-tool/tsourcebooks.h"

#include <versekey.h>

#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tcommands.h"

namespace {

std::string Encode(TCodePage& cp, const std::string& utf8, TImportLog& log) {
  return EncodeLogged(cp, utf8, log);
}

}  // namespace

TVersionData BuildVersion(const std::vector<TSourceBook>& books, int versionIndex,
                          TImportLog& log) {
  if (books.empty()) throw TInputError("no book with a place among the 78 book slots");
  TCodePage cp(VersionCodePage(versionIndex));
  TCodePage namesCp(versionIndex == 9 ? "windows-1251" : VersionCodePage(versionIndex));
  sword::VerseKey key;
  key.setLocale(VersionLocale(versionIndex).c_str());
  TVersionData data;
  int done = 0;
  size_t verseCount = 0;
  for (const TSourceBook& b : books) {
    TVersionBook vb;
    vb.Slot = uint16_t(b.Slot);
    for (const auto& chapter : b.Chapters) {
      const size_t c = vb.Chapters.size();
      std::vector<std::string> verses;
      for (const std::string& verse : chapter) {
        const size_t v = verses.size();
        const bool paragraph = c < b.ParagraphStarts.size() && v < b.ParagraphStarts[c].size() &&
                               b.ParagraphStarts[c][v];
        verses.push_back(Encode(
            cp,
            VerseForVersion(TConvertedVerse{TidyViewMarkup(verse), paragraph}, versionIndex, log),
            log));
        if (verses.back().size() > 65535)
          throw TInputError(OsisOfBookSlot(b.Slot) + " " + std::to_string(c + 1) + ":" +
                            std::to_string(v + 1) +
                            " is longer than the 65535 bytes a verse can hold");
        if (++verseCount > 65535)
          throw TInputError("more than the 65535 verses a version can hold");
      }
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
