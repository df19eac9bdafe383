#pragma once
// Books read from a file format of their own (Zefania XML, the JSON of an npm package), turned into
// a version the way a SWORD import is: verses in the view's markup, converted to the version's
// code page, book names from the file or else from SWORD's locale for the version's language.

#include <string>
#include <vector>

#include "core/versionwriter.h"
#include "tools/bible-tool/tswordimport.h"

struct TSourceBook {
  int Slot = 0;
  std::string Name;       // UTF-8; "" = the SWORD locale's name of the slot
  std::string ShortName;  // UTF-8; "" = the SWORD locale's abbreviation
  std::vector<std::vector<std::string>> Chapters;  // verse texts in the view's markup, UTF-8
};

// The slot of a book number of the Protestant order 1..66 (Gen..Mal, Matt..Rev) and of the
// deuterocanonical numbers Zefania gives after them; 0 for a number without a slot (the additions
// to Esther and Daniel, which our slots hold inside their books, 4 Maccabees and the like).
int SlotOfProtestantNumber(int number);

// The version: each verse through VerseForVersion and the code page of the version, names in the
// code page of the version's names; books in the given order. Characters the code page lacks are
// transliterated (counted in the log). Throws TInputError when there are no books.
TVersionData BuildVersion(const std::vector<TSourceBook>& books, int versionIndex, TImportLog& log);
