#include "core/tbible.h"

#include <algorithm>
#include <filesystem>
#include <cctype>
#include <fstream>
#include <limits>

#include "core/datapaths.h"
#include "core/eioerror.h"
#include "core/tcustominifile.h"
#include "core/tfile.h"

const char* const VersionFolders[VersionTableSize] = {
    "2000\\", "38\\", "ORT\\", "RU\\", "KJV\\", "KJVSN\\", "ASV\\", "RSV\\", "Ger\\", "GR\\", "VUL\\"};
const char* const VersionCaptions[VersionTableSize] = {
    "Издание 2000 г.",   "Издание 1938 г.",          "Синодален превод",
    "Руски превод",      "King James Version",       "KJV with Strongs numbers",
    "American Standard Version", "Revised Standard Version", "Die Elberfelder Bibel",
    "Гръцки Нов завет", "Латинска Vulgata"};
const char* const VersionHelpTopics[VersionTableSize] = {"", "bg38", "", "Rus", "KJV", "",
                                                          "ASV", "", "GER", "GrNt", ""};
const int VersionLanguages[VersionTableSize] = {2, 2, 2, 2, 0, 0, 0, 0, 1, 3, 0};
const int VersionCharsets[VersionTableSize] = {204, 204, 204, 204, 204, 204,
                                               204, 204, 238, 161, 204};
const bool VersionParagraphMarks[VersionTableSize] = {false, false, false, true,  false, false,
                                                      false, false, false, false, false};

std::string DataRoot;
std::array<std::unique_ptr<TBible>, VersionTableSize> Bibles;
TFont MainFont;

TCharSet VersionLetters(int v) {
  TCharSet s;
  auto range = [&s](int from, int to) {
    for (int c = from; c <= to; ++c) s.set(size_t(c));
  };
  auto latin = [&] {
    range('A', 'Z');
    range('a', 'z');
  };
  switch (v) {
    case 0: case 1: case 2: range(0xC0, 0xFF); break;
    case 3: range(0xC0, 0xFF); s.set(0xB8); break;
    case 4: case 6: case 7: case 10: latin(); break;
    case 5: latin(); range('0', '9'); break;
    case 8:
      latin();
      for (int c : {0xC4, 0xD6, 0xDC, 0xDF, 0xE4, 0xF6, 0xFC}) s.set(size_t(c));
      break;
    case 9: range(0xE1, 0xF9); break;
    default: break;
  }
  return s;
}

std::string VersionDiskFolder(int v) {
  if (v < 0 || v >= VersionTableSize) return {};
  std::string folder = VersionFolders[v];
  if (!folder.empty() && folder.back() == '\\') folder.back() = '/';
  return folder;
}

std::string VersionName(int v) {
  if (v < 0 || v >= VersionTableSize) return {};
  std::ifstream in(DataFile(VersionDiskFolder(v) + "Name.txt", TPathUse::Read), std::ios::binary);
  char buffer[200];
  in.read(buffer, sizeof buffer);
  std::string line(buffer, size_t(in.gcount()));
  line = line.substr(0, line.find_first_of("\r\n"));
  if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
  std::string name;
  for (char c : line)
    if ((unsigned char)c >= 32 && c != 127) name.push_back(c);
  // A multi-byte letter cut by the length limit is dropped whole.
  size_t end = name.size(), start = end;
  while (start > 0 && ((unsigned char)name[start - 1] & 0xC0) == 0x80) --start;
  if (start > 0 && (unsigned char)name[start - 1] >= 0xC0) {
    const unsigned char lead = (unsigned char)name[start - 1];
    const size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (end - (start - 1) < need) name.erase(start - 1);
  }
  const size_t first = name.find_first_not_of(' ');
  const size_t last = name.find_last_not_of(' ');
  return first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
}

// The folder a version is read from: the user's own import of it, when there is one, comes
// before the installed one.
static std::string VersionDataPath(int versionIndex) {
  const std::string titles =
      DataFile(VersionDiskFolder(versionIndex) + "BibleTitles.txt", TPathUse::Read);
  return titles.substr(0, titles.size() - std::string("BibleTitles.txt").size());
}

std::string VersionCaption(int v) {
  if (v < 0 || v >= VersionTableSize) return {};
  std::string name = VersionName(v);
  if (name.empty()) return VersionCaptions[v];
  // Version 5 keeps the Strong's numbers that the others leave out, so the same translation
  // imported into 4 and 5 must not read the same in the menu.
  std::string lower = name;
  for (char& c : lower) c = char(std::tolower((unsigned char)c));
  if (v == 5 && lower.find("strong") == std::string::npos) name += " with Strongs numbers";
  return name;
}

namespace {

// Reads the text files of a version: decimal tokens separated by bytes <= 32, and whole lines.
// Reading past the end gives 0 for a number and "" for a line.
class TTextReader {
 public:
  explicit TTextReader(TFile& file) : File(file) {}

  int32_t ReadInteger() {
    int c = Peek();
    while (c >= 0 && c <= ' ') {
      Next();
      c = Peek();
    }
    if (c < 0) return 0;
    std::string token;
    while (c > ' ') {
      // A token longer than any number is damage; stop collecting, the conversion will fail.
      if (token.size() < 32) token.push_back(char(c));
      Next();
      c = Peek();
    }
    return Convert(token);
  }

  // Skips the rest of the current line, through its line end.
  void SkipLine() {
    for (int c = Next(); c >= 0 && c != '\n'; c = Next()) {
    }
  }

  std::string ReadLine() {
    std::string line;
    for (int c = Next(); c >= 0 && c != '\n'; c = Next()) line.push_back(char(c));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

 private:
  int32_t Convert(const std::string& token) {
    size_t i = 0;
    bool negative = false;
    if (token[0] == '+' || token[0] == '-') {
      negative = token[0] == '-';
      i = 1;
    }
    if (i >= token.size()) RaiseInOutError(ioInvalidNumeric, File.Path());
    int64_t value = 0;
    for (; i < token.size(); ++i) {
      if (token[i] < '0' || token[i] > '9') RaiseInOutError(ioInvalidNumeric, File.Path());
      value = value * 10 + (token[i] - '0');
      if (value > std::numeric_limits<int32_t>::max())
        RaiseInOutError(ioInvalidNumeric, File.Path());
    }
    return int32_t(negative ? -value : value);
  }

  int Peek() {
    if (Pos == Got) Fill();
    return Pos < Got ? static_cast<unsigned char>(Buffer[Pos]) : -1;
  }
  int Next() {
    const int c = Peek();
    if (c >= 0) ++Pos;
    return c;
  }
  void Fill() {
    Pos = 0;
    Got = File.ReadSome(Buffer, sizeof Buffer);
  }

  TFile& File;
  char Buffer[8192];
  size_t Pos = 0;
  size_t Got = 0;
};

const TBook EmptyBook;

}  // namespace

TBible::TBible(int versionIndex, bool differentFonts) {
  VersionIndex = uint16_t(versionIndex < 0 ? 0 : versionIndex);
  const bool known = versionIndex >= 0 && versionIndex < VersionTableSize;
  if (known) {
    DataPath = VersionDataPath(versionIndex);
  }
  Letters = VersionLetters(versionIndex);
  for (auto& book : Books) book = std::make_unique<TBook>();
  if (!DataPath.empty()) LoadTitles();
  Font = MainFont;
  if (DataPath.empty()) return;
  LoadStructure();
  CheckFiles();
  HistoryPath = DataFile(VersionDiskFolder(versionIndex), TPathUse::Write);
  // Without a home folder the histories stay with the data, where a failed write is reported.
  if (HistoryPath.empty()) HistoryPath = DataPath;
  const std::string folder = VersionFolders[VersionIndex];
  if (IniFile && differentFonts) {
    TFont stored = Font;
    SetFont(IniFile->ReadFont(folder + "Font", stored));
  } else {
    SetFont(MainFont);
  }
  if (IniFile) BookMarks = IniFile->ReadSection(folder + "BookMarks");
}

TBible::TBible(int versionIndex, TNamesOnly) {
  VersionIndex = uint16_t(versionIndex);
  SettingsSaved = true;
  DataPath = VersionDataPath(versionIndex);
  Letters = VersionLetters(versionIndex);
  for (auto& book : Books) book = std::make_unique<TBook>();
  if (!DataPath.empty()) LoadTitles();
  SetFont(MainFont);
}

std::unique_ptr<TBible> TBible::LoadNames(int versionIndex) {
  if (versionIndex < 0 || versionIndex >= VersionTableSize) return nullptr;
  std::unique_ptr<TBible> names(new TBible(versionIndex, TNamesOnly{}));
  if (names->DataPath.empty() || names->BookCount == 0) return nullptr;
  return names;
}

TBible::~TBible() {
  try {
    SaveSettings();
  } catch (...) {
    // Destruction must not throw; the main window saves first and reports a failed write.
  }
}

void TBible::SaveSettings() {
  if (SettingsSaved || DataPath.empty() || !IniFile) return;
  SettingsSaved = true;
  const std::string folder = VersionFolders[VersionIndex];
  IniFile->WriteFont(folder + "Font", Font);
  IniFile->EraseSection(folder + "BookMarks");
  for (const auto& mark : BookMarks) IniFile->WriteString(folder + "BookMarks", mark, "");
}

void TBible::SetFont(const TFont& font) {
  Font = font;
  Font.Charset = VersionIndex < VersionTableSize ? VersionCharsets[VersionIndex] : RUSSIAN_CHARSET;
}

const TBook& TBible::BookAt(int position) const {
  if (position < 1 || position > BookCount) return EmptyBook;
  return *Books[BookOrder[size_t(position)]];
}

TBook& TBible::BookAt(int position) {
  static TBook scratch;
  if (position < 1 || position > BookCount) {
    scratch = TBook();
    return scratch;
  }
  return *Books[BookOrder[size_t(position)]];
}

int TBible::ChapterCount(int position) const { return int(BookAt(position).Chapters.size()); }

int TBible::ChapterVerses(int position, int chapter) const {
  const TBook& book = BookAt(position);
  if (chapter < 1 || size_t(chapter) > book.Chapters.size()) return 0;
  return book.Chapters[size_t(chapter) - 1];
}

// More than 78 books, a slot outside 1..78 or a slot listed twice is outside the data model:
// the version is then unavailable.
void TBible::LoadTitles() {
  TFile file;
  if (!file.OpenRead(DataPath + "BibleTitles.txt")) {
    DataPath.clear();
    return;
  }
  TTextReader reader(file);
  BookOrder.fill(0);
  const int32_t n = reader.ReadInteger();
  if (n < 0 || n > MaxBooks) {
    DataPath.clear();
    return;
  }
  BookCount = uint16_t(n);
  for (int p = 1; p <= n; ++p) {
    const int32_t slot = reader.ReadInteger();
    if (slot < 1 || slot > MaxBooks) {
      DataPath.clear();
      BookCount = 0;
      BookOrder.fill(0);
      return;
    }
    BookOrder[size_t(p)] = uint16_t(slot);
  }
  if (n > 0) reader.SkipLine();
  BookPosition.fill(0);
  for (int p = 1; p <= n; ++p) {
    if (BookPosition[BookOrder[size_t(p)]] != 0) {
      DataPath.clear();
      BookCount = 0;
      BookOrder.fill(0);
      BookPosition.fill(0);
      return;
    }
    BookPosition[BookOrder[size_t(p)]] = uint16_t(p);
  }
  for (int p = 1; p <= n; ++p) Books[BookOrder[size_t(p)]]->Title = reader.ReadLine();
  for (int p = 1; p <= n; ++p) Books[BookOrder[size_t(p)]]->Name = reader.ReadLine();
  for (int p = 1; p <= n; ++p) Books[BookOrder[size_t(p)]]->ShortName = reader.ReadLine();
}

// A verse count above 255 cannot be stored, and more than 65 535 verses cannot be addressed:
// such a structure is damaged and the version opens with no chapters.
void TBible::LoadStructure() {
  TFile file;
  if (!file.OpenRead(DataPath + "BibleStructure.csv")) return;
  TTextReader reader(file);
  VerseCount = 0;
  uint32_t total = 0;
  bool damaged = false;
  for (int p = 1; p <= BookCount && !damaged; ++p) {
    TBook& book = *Books[BookOrder[size_t(p)]];
    const int32_t chapters = reader.ReadInteger();
    if (chapters < 0 || chapters > 65535) {
      damaged = true;
      break;
    }
    book.Chapters.assign(size_t(chapters), 0);
    for (int32_t c = 0; c < chapters; ++c) {
      const int32_t verses = reader.ReadInteger();
      if (verses < 0 || verses > 255 || total + uint32_t(verses) > 65535) {
        damaged = true;
        break;
      }
      book.Chapters[size_t(c)] = uint8_t(verses);
      total += uint32_t(verses);
    }
    book.LastVerse = uint16_t(total);
  }
  if (damaged) {
    for (auto& book : Books) {
      book->Chapters.clear();
      book->LastVerse = 0;
    }
    total = 0;
  }
  VerseCount = uint16_t(total);
}

namespace {

// The file's size, -1 when it cannot be read.
int64_t SizeOf(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? -1 : int64_t(size);
}

std::vector<int32_t> ReadPointers(const std::string& path) {
  const std::string bytes = ReadFileBytes(path);
  std::vector<int32_t> pointers(bytes.size() / 4);
  for (size_t i = 0; i < pointers.size(); ++i)
    pointers[i] = GetI32(reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * i);
  return pointers;
}

}  // namespace

// Only looks at sizes and pointers (and the length of the last record), so that opening a
// version stays quick; a version without its text or word files is not damaged, only empty.
void TBible::CheckFiles() {
  const int64_t textSize = SizeOf(DataPath + "CompactText.bin");
  if (textSize >= 0 && FileExists(DataPath + "CompactPoint.bin")) {
    const std::vector<int32_t> verses = ReadPointers(DataPath + "CompactPoint.bin");
    int64_t last = -1;
    for (size_t i = 0; i < verses.size() && i < VerseCount; ++i) {
      if (verses[i] >= 0 && int64_t(verses[i]) + 2 > textSize)
        UnreadableVerses.push_back(uint16_t(i + 1));
      else if (verses[i] >= 0 && (last < 0 || verses[i] > verses[size_t(last)]))
        last = int64_t(i);
    }
    if (last >= 0) {
      TFile text;
      unsigned char length[2];
      if (text.OpenRead(DataPath + "CompactText.bin")) {
        text.Seek(verses[size_t(last)]);
        if (text.ReadSome(length, 2) == 2 &&
            int64_t(verses[size_t(last)]) + 2 + GetU16(length) > textSize) {
          UnreadableVerses.insert(
              std::lower_bound(UnreadableVerses.begin(), UnreadableVerses.end(), uint16_t(last + 1)),
              uint16_t(last + 1));
        }
      }
    }
    for (size_t n = verses.size() + 1; n <= VerseCount; ++n) UnreadableVerses.push_back(uint16_t(n));
    if (!UnreadableVerses.empty()) DamagedFile = "CompactText.bin";
  }
  const int64_t wordsSize = SizeOf(DataPath + "WordList.txt");
  const int64_t concSize = SizeOf(DataPath + "Conc.bin");
  if (!DamagedFile.empty() || wordsSize < 0 || concSize < 0) return;
  const std::vector<int32_t> words = ReadPointers(DataPath + "WordPoint.bin");
  for (int32_t p : words)
    if (p > wordsSize) {
      DamagedFile = "WordList.txt";
      return;
    }
  const std::vector<int32_t> sets = ReadPointers(DataPath + "ConcP.bin");
  for (int32_t p : sets)
    if (p >= 0 && int64_t(p) * 2 + 2 > concSize) {
      DamagedFile = "Conc.bin";
      return;
    }
}

bool TBible::Unreadable(int n) const {
  return n >= 0 && n <= 65535 &&
         std::binary_search(UnreadableVerses.begin(), UnreadableVerses.end(), uint16_t(n));
}

int VersionLanguage(const TBible& bible) {
  return bible.VersionIndex < VersionTableSize ? VersionLanguages[bible.VersionIndex] : 0;
}

int BookNameCharset(const TBible* bible) {
  if (!bible) return RUSSIAN_CHARSET;
  return VersionLanguage(*bible) == 3 ? RUSSIAN_CHARSET : bible->Font.Charset;
}

std::string CyrillicFontName() {
  for (int i = 0; i < VersionTableSize; ++i)
    if (Bibles[size_t(i)] && VersionLanguages[i] == 2) return Bibles[size_t(i)]->Font.Name;
  if (!IniFile) return {};
  for (int i = 0; i < VersionTableSize; ++i) {
    if (VersionLanguages[i] != 2) continue;
    const std::string section = std::string(VersionFolders[i]) + "Font";
    if (IniFile->SectionExists(section)) return IniFile->ReadString(section, "FontName", "");
  }
  return {};
}
