#pragma once
// Writes a dictionary X: X.ibf/X.ibp (record 0 the title, then the articles), X.ind (letter set
// and headword offsets into X.ibf) and XC.ibf/XC.ibp (for each index entry the list of articles
// that explain it). Format: doc/formats.md, "Dictionary".

#include <cstddef>
#include <string>
#include <vector>

#include "core/tbible.h"

struct TDictionaryArticle {
  std::string Text;                     // windows-1251 bytes in the view's markup
  std::vector<size_t> HeadwordOffsets;  // where each headword of the article starts in Text
};

struct TDictionaryData {
  std::string Title;  // windows-1251
  std::vector<TDictionaryArticle> Articles;  // record numbers 1..n in this order
  TCharSet Letters;   // must cover every headword
};

// baseName is the path without extension (folder + "/" + X). Headwords that are equal in the
// lower-cased order share one index entry, whose list names every such article in article order.
// Throws std::runtime_error when a file cannot be written or a limit is exceeded.
void WriteDictionary(const std::string& baseName, const TDictionaryData& data);

// A length-prefixed record pair from the records in order (record i at pointer entry i).
void WriteRecordPair(const std::string& pointerFile, const std::string& dataFile,
                     const std::vector<std::string>& records);
