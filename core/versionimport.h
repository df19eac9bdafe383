#pragma once
// What the "Добави превод" dialog decides without a window: which importer command reads a
// chosen file, which version a module's language goes to, the order of the language filter, and
// the lines the importer reports on (bible-tool-import --progress-lines, see
// tools/bible-tool/timportcommands.h).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/tbible.h"

// The kinds of file a version is imported from. A new format is one more entry in the table of
// versionimport.cpp (how it is recognised and which command imports it).
enum class TSourceKind { Unknown, SwordPackage, SwordFolder, Zefania, Osis, Usfm, MyBible, ESword };

// Recognises a file or folder by its extension and its first bytes.
TSourceKind DetectSourceKind(const std::string& path);
// A UTF-8 caption of the kind for the dialog ("SWORD модул (ZIP)"); "" for Unknown.
std::string SourceKindCaption(TSourceKind kind);
// The importer's arguments that import PATH of KIND into VERSION under ROOT; empty for Unknown.
std::vector<std::string> ImportArguments(TSourceKind kind, const std::string& path, int version,
                                         const std::string& root);

// The filter's languages first, in this order, then the others by code: Bulgarian, Russian,
// Latin, German, English, Greek (modern and ancient). Smaller ranks first.
int LanguageRank(const std::string& language);
// The language's name in Bulgarian, UTF-8; the code itself for a language the dialog does not name.
std::string LanguageCaption(const std::string& language);

// The version a module of LANGUAGE is proposed for: the version of that language and code page
// (Bulgarian the first empty of 0-2, Russian 3, Latin 10, German 8, Greek 9), any other the first
// empty of 7, 6; when all of them are filled, the first of them.
int ProposeVersion(const std::string& language, const std::array<bool, VersionTableSize>& filled);

// One line of the importer's report.
struct TImportEvent {
  enum TKind { Other, Progress, Download, Failed } Kind = Other;
  long long Done = 0;
  long long Total = 0;
  std::string Item;  // the book, the file downloaded, or the kind of failure
};
TImportEvent ParseImportEvent(const std::string& line);

// A module of a source as "library-modules" lists it.
struct TModuleEntry {
  std::string Name, Language, Licence, Description;
  long long Size = 0;
};
// Parses one line; false for a line that is not one.
bool ParseModuleEntry(const std::string& line, TModuleEntry& entry);
