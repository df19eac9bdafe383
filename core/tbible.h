#pragma once
// One loaded version: its book list with titles and chapter structure, its font and bookmarks,
// and the fixed table of the eleven versions. Formats: doc/formats.md, "Version folder".

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/tfont.h"

// A set of byte values, the letters of a version or a dictionary.
using TCharSet = std::bitset<256>;

constexpr int VersionTableSize = 11;
constexpr int MaxBooks = 78;

// The version table, indexed by version index 0..10.
extern const char* const VersionFolders[VersionTableSize];      // "KJV\\": also section names
extern const char* const VersionCaptions[VersionTableSize];     // UTF-8 menu captions
extern const char* const VersionHelpTopics[VersionTableSize];   // "" = no topic
extern const int VersionLanguages[VersionTableSize];            // 0 none, 1 German, 2 Cyrillic, 3 Greek
extern const int VersionCharsets[VersionTableSize];
extern const bool VersionParagraphMarks[VersionTableSize];
TCharSet VersionLetters(int versionIndex);  // empty outside 0..10

// The folder of a version on disk: the table's folder with "/" for the backslash.
std::string VersionDiskFolder(int versionIndex);

// The translation's own name that the version folder carries in "Name.txt" (UTF-8, its first
// line; at most 200 bytes, control characters dropped), "" when it has none.
std::string VersionName(int versionIndex);
// What the menu and the version's windows are captioned with: VersionName, else the table's
// caption, so that a caption never names a translation other than the one in the folder.
std::string VersionCaption(int versionIndex);

class TBook {
 public:
  std::string Title;
  std::string Name;
  std::string ShortName;
  std::vector<uint8_t> Chapters;  // verse count of chapters 1..n
  uint16_t LastVerse = 0;
};

class TBible {
 public:
  // Loads the version; DataPath is empty afterwards when the version is unavailable. With
  // differentFonts the version takes its own stored font, else MainFont.
  explicit TBible(int versionIndex, bool differentFonts = false);
  // The book list of a version (order, titles, names, abbreviations) without its structure,
  // fonts, bookmarks or history folder, and never saving settings: what recognising its book
  // names needs. Null when the version is unavailable.
  static std::unique_ptr<TBible> LoadNames(int versionIndex);
  // Saves font and bookmarks to the settings.
  ~TBible();
  TBible(const TBible&) = delete;
  TBible& operator=(const TBible&) = delete;

  std::string DataPath;  // the version's folder, "/" at the end; "" = unavailable
  // The folder of the user's files of this version (its histories): DataPath in a portable
  // folder, the user's own folder when installed (core/datapaths.h); "" when unavailable.
  std::string HistoryPath;
  uint16_t VersionIndex = 0;
  uint16_t VerseCount = 0;
  uint16_t BookCount = 0;
  bool RefreshPending = false;
  TCharSet Letters;
  // Indexed 1..78; index 0 holds 0 so that an absent position or slot leads to an empty book.
  std::array<uint16_t, MaxBooks + 1> BookOrder{};     // position -> slot
  std::array<uint16_t, MaxBooks + 1> BookPosition{};  // slot -> position
  std::array<std::unique_ptr<TBook>, MaxBooks + 1> Books;  // by slot; all present
  std::vector<std::string> BookMarks;
  TFont Font;
  // The first of the version's files found at load to disagree with another (a verse pointer
  // beyond the text file's end or missing, a word or concordance index beyond its data); "" when
  // they agree. Importing the version again mends it.
  std::string DamagedFile;
  // The verses whose text that damage made unreadable, ascending: they read as empty.
  std::vector<uint16_t> UnreadableVerses;
  bool Unreadable(int n) const;

  void SetFont(const TFont& font);
  // Writes font and bookmarks to the settings once; may raise the settings write error, so the
  // main window calls it before destroying the version. The destructor calls it silently.
  void SaveSettings();
  bool SettingsSaved = false;

  // The book at a position (1..BookCount); an empty book for any other position.
  const TBook& BookAt(int position) const;
  TBook& BookAt(int position);
  // Number of chapters of the book at a position.
  int ChapterCount(int position) const;
  // Verse count of chapter c of the book at a position; 0 outside the book.
  int ChapterVerses(int position, int chapter) const;

 private:
  struct TNamesOnly {};
  TBible(int versionIndex, TNamesOnly);
  void LoadTitles();
  void LoadStructure();
  void CheckFiles();
};

// Shared values of the run.
extern std::string DataRoot;  // folder of the data read by every user (core/datapaths.h) + "/"
extern std::array<std::unique_ptr<TBible>, VersionTableSize> Bibles;
extern TFont MainFont;

int VersionLanguage(const TBible& bible);
// The character set of a version's book names and references: the Greek version's book names are
// Cyrillic; without a version, the system's (windows-1251).
int BookNameCharset(const TBible* bible);
std::string CyrillicFontName();
