#pragma once
// Writes a complete version folder from an in-memory description: BibleTitles.txt,
// BibleStructure.csv, the text pair, the word pair and the concordance (doc/formats.md).
// The importer and the tests both use it, so that every folder is consistent by construction.

#include <cstdint>
#include <string>
#include <vector>

#include "core/tbible.h"

struct TVersionBook {
  uint16_t Slot = 0;
  std::string Title;      // bytes in the version's code page
  std::string Name;
  std::string ShortName;
  std::vector<std::vector<std::string>> Chapters;  // verse texts, chapter by chapter
};

struct TVersionData {
  std::vector<TVersionBook> Books;  // in display (position) order
  std::string Name;                 // the translation's own name, UTF-8; "" when unknown
};

// Words are the maximal runs of the letters outside footnotes ("{" to the next "}"); WordList.txt holds each distinct lower-cased word once,
// sorted in the word list's search order, with the verses in which any spelling of it occurs.
// Throws std::runtime_error when the folder cannot be written or the data exceeds the formats'
// limits (more than 78 books, 255 verses in a chapter, 65 535 verses).
void WriteVersionFolder(const std::string& folder, const TVersionData& data,
                        const TCharSet& letters);

// The distinct words of the texts, lower-cased and sorted, each with its ascending verse numbers
// (verse numbers count from 1 over all the texts in order).
struct TWordEntry {
  std::string Word;
  std::vector<uint16_t> Verses;
};
std::vector<TWordEntry> CollectWords(const std::vector<std::string>& verseTexts,
                                     const TCharSet& letters);
