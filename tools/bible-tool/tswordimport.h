#pragma once
// Reading installed SWORD modules (through libsword) into the in-memory descriptions that the
// core's writers turn into a version folder or a dictionary.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>
#include <string>

#include "core/dictionarywriter.h"
#include "core/versionwriter.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tmarkup.h"

// What an import tells its caller while it runs and when it ends.
struct TImportLog {
  // Called after each book (name in UTF-8, 1-based number, total) or each block of entries.
  std::function<void(const std::string& item, int done, int total)> Progress;
  int64_t LettersFitted = 0;    // letters the code page lacks, kept as their base letter
  int64_t MarksDropped = 0;     // combining marks the code page lacks, dropped after their letter
  int64_t Transliterated = 0;   // characters the code page lacks, written in Latin letters
  int64_t Unrepresentable = 0;  // characters written as <U+XXXX>
  int64_t Omitted = 0;          // marks with no meaning without their source (see the importers)
};

// UTF-8 text in the code page, what the code page made of the characters it lacks added to LOG.
std::string EncodeLogged(TCodePage& cp, const std::string& utf8, TImportLog& log);

// The SWORD locale whose book names a version carries: "bg", "ru", "en", "de" or "la".
std::string VersionLocale(int versionIndex);

// A book name from the SWORD locale, as the version stores it (UTF-8): leading Roman ordinals
// become digits ("I Kings" -> "1 Kings"), so references typed with digits find the book, and
// Latin look-alike letters inside a Cyrillic name become Cyrillic.
std::string TidyBookName(const std::string& utf8);

// Lengthens a book's abbreviation with the letters of its name while it is the start of another
// book's name or abbreviation ("Phil" before "Philemon" becomes "Phili"): a reference parser that
// tries abbreviations first would otherwise take the other book for it.
void DisambiguateShortNames(std::vector<TVersionBook>& books);

// The abbreviations version 4 gives its books (the English ones, made unambiguous), by OSIS name.
std::map<std::string, std::string> EnglishShortNames();

// Converts the Bible module (its name or its abbreviation) for version index 0..10, from the
// installed libraries or, when LIBRARY is given, from that library folder only (an empty MODULE
// then takes its only Bible). Throws std::runtime_error with a one-line message when the module is
// missing or is not a Bible, TInputError when its configuration promises files it lacks.
TVersionData ReadSwordBible(const std::string& module, int versionIndex, TImportLog& log,
                            const std::string& library = "");

// Converts a lexicon or dictionary module. For Strong's dictionaries the headwords are the numbers
// as the text of version 5 carries them (H430, G2316) and the transliterated word; references to
// verses are written with the book abbreviations of version 4.
TDictionaryData ReadSwordDictionary(const std::string& module, TImportLog& log,
                                    const std::string& library = "");

enum class TDictionaryKind { Plain, StrongsGreek, StrongsHebrew };

// Digits and Latin letters; for other than Strong's dictionaries also the Cyrillic letters and "-".
TCharSet DictionaryLetters(TDictionaryKind kind);

// One entry (key and raw text, UTF-8) as an article in windows-1251: the key as the first
// headword (for Strong's the number H430 or G2316), each transliterated word (TEI orth of type
// "trans") as a further one. False when the entry names no headword.
bool ConvertDictionaryEntry(const std::string& key, const std::string& raw, TSourceMarkup markup,
                            TDictionaryKind kind, const TCharSet& letters, TCodePage& cp,
                            TImportLog& log, TDictionaryArticle& article);

// A converted verse as version v keeps it, still UTF-8: Greek normalised for version 9, the
// paragraph mark as the first character where the version has paragraph marks, the text-critical
// signs of an edition whose apparatus is not imported left out.
std::string VerseForVersion(const TConvertedVerse& verse, int versionIndex, TImportLog& log);

// The name a dictionary gets when none is given: the module name.
std::string DefaultDictionaryName(const std::string& module);
