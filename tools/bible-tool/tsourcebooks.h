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
  // The verses that open a paragraph, by chapter and verse; empty when the source has no
  // paragraphs. The versions with paragraph marks show them.
  std::vector<std::vector<bool>> ParagraphStarts;
};

// A Bible read from a file: its books, what had no place in a version, and its own name.
struct TSourceBible {
  std::vector<TSourceBook> Books;    // in the order the source first gives them
  std::vector<std::string> Skipped;  // books without a slot, as the source names them
  int64_t VersesOutOfRange = 0;      // verse or chapter numbers outside 1..255 and 1..10000
  int64_t RangesSplit = 0;           // verse ranges whose text went on their first verse
  std::string Name;                  // the translation's own name, UTF-8; "" when not given
};

// Verses gathered in any order into books, as the readers of the Bible files find them. A verse
// given twice adds its text to the first; a chapter has as many verses as its highest number, a
// number never given is an empty verse, a chapter never given holds one empty verse.
class TBookCollector {
 public:
  // Adds a verse of the book in SLOT; LABEL names the book in the report when SLOT is 0.
  void Add(int slot, const std::string& label, int chapter, int verse, const std::string& text,
           bool paragraph = false);
  // The book's names from the source (UTF-8), when it gives them.
  void Name(int slot, const std::string& name, const std::string& shortName);
  TSourceBible Finish();

  TSourceBible Result;

 private:
  struct TBuild {
    TSourceBook Book;
    std::vector<std::vector<std::string>> Verses;  // chapter - 1, verse - 1
    std::vector<std::vector<bool>> Paragraphs;
  };
  TBuild& Book(int slot);
  std::vector<TBuild> Books;
};

// The slot of a book number of the Protestant order 1..66 (Gen..Mal, Matt..Rev) and of the
// deuterocanonical numbers Zefania gives after them; 0 for a number without a slot (the additions
// to Esther and Daniel, which our slots hold inside their books, 4 Maccabees and the like).
int SlotOfProtestantNumber(int number);

// The version: each verse through VerseForVersion and the code page of the version, names in the
// code page of the version's names; books in the given order. Characters the code page lacks are
// fitted or transliterated (counted in the log). Throws TInputError when there are no books, when
// a verse is longer than the 65 535 bytes a verse can hold, or when there are more verses than a
// version can number.
TVersionData BuildVersion(const std::vector<TSourceBook>& books, int versionIndex, TImportLog& log);
