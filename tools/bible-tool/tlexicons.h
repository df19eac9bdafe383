#pragma once
// Dictionaries from Debian's data packages: the Abbott-Smith Greek lexicon (TEI XML) and the
// Brown-Driver-Briggs Hebrew lexicon (XML) of bibledit-data, and FreeDict dictionaries in the
// dictd format (an index of base-64 offsets and a gzip or dictzip data file).
//
// Headwords are Latin letters: Greek and Hebrew lemmas are transliterated, so that the dictionary
// window, whose text is windows-1251, can show and look them up. Strong's numbers stay out of the
// headwords, so that a number in a verse keeps opening its Strong's article.

#include <string>
#include <vector>

#include "core/dictionarywriter.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tswordimport.h"

// The Latin headword of a Greek or Hebrew lemma (UTF-8), as the lexicons above write theirs:
// transliterated through the code page (windows-1251), only its letters, lower case.
std::string LexiconHeadword(TCodePage& latin, const std::string& lemma);

TDictionaryData ReadAbbottSmith(const std::string& xmlFile, TImportLog& log);
TDictionaryData ReadBrownDriverBriggs(const std::string& xmlFile, TImportLog& log);
// indexFile "X.index", dataFile "X.dict.dz" or "X.dict". Entries whose headword is more than one
// word are left out: the window looks up single words.
TDictionaryData ReadFreeDict(const std::string& indexFile, const std::string& dataFile,
                             const std::string& title, TImportLog& log);

// The value of a dictd base-64 number ("A".."/" are 0..63, most significant digit first); -1
// for a character outside the alphabet or a value past 2^31.
long long DictdNumber(const std::string& digits);

// import-lexicon KIND SOURCE DATA_ROOT NAME, KIND abbott-smith, bdb or freedict (SOURCE then the
// path of the dictd files without ".index" and ".dict.dz").
int CommandImportLexicon(const std::vector<std::string>& args, bool progress);
