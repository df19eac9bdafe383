#include "core/versionimport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

std::string Head(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), std::streamsize(n));
  bytes.resize(size_t(in.gcount()));
  return bytes;
}

bool IsZefania(const std::string& file) {
  return Lower(Head(file, 4096)).find("<xmlbible") != std::string::npos;
}

// The last bytes of a file: a ZIP's directory of names lies at its end.
std::string Tail(const std::string& path, size_t n) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  if (size <= 0) return {};
  const std::streamoff start = size > std::streamoff(n) ? size - std::streamoff(n) : 0;
  in.seekg(start);
  std::string bytes(size_t(size - start), '\0');
  in.read(bytes.data(), std::streamsize(bytes.size()));
  bytes.resize(size_t(in.gcount()));
  return bytes;
}

bool IsZip(const std::string& p) { return Head(p, 4) == std::string("PK\x03\x04", 4); }

// A ZIP of USFM books rather than a SWORD package: no mods.d/, USFM file names.
bool IsUsfmZip(const std::string& p) {
  if (!IsZip(p)) return false;
  const std::string names = Lower(Tail(p, 1 << 20));
  return names.find("mods.d/") == std::string::npos &&
         (names.find(".usfm") != std::string::npos || names.find(".sfm") != std::string::npos);
}

bool IsUsfmFile(const std::string& p) {
  const std::string head = Head(p, 256);
  const size_t start = head.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  return head.compare(start, 4, "\\id ") == 0;
}

bool IsSqlite(const std::string& p) { return Head(p, 16) == std::string("SQLite format 3\0", 16); }

// The schema lies as text in the database's first pages; a table's name may stand in quotes.
bool SchemaHas(const std::string& p, const char* table) {
  if (!IsSqlite(p)) return false;
  std::string schema;
  for (char c : Lower(Head(p, 1 << 16)))
    if (c != '"' && c != '`' && c != '[' && c != ']') schema += c;
  return schema.find(table) != std::string::npos;
}

// Whether a file directly in the folder is one the test accepts.
bool AnyFileIn(const std::string& folder, bool (*test)(const fs::path&)) {
  std::error_code ec;
  for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
       it.increment(ec))
    if (test(it->path())) return true;
  return false;
}

struct TSourceFormat {
  TSourceKind Kind;
  const char* Caption;
  const char* Command;
  bool (*Recognises)(const std::string& path);
};

// Recognisers are tried in this order; the first that takes the path decides.
const TSourceFormat SourceFormats[] = {
    {TSourceKind::SwordFolder, "SWORD библиотека (папка)", "import-sword",
     [](const std::string& p) {
       std::error_code ec;
       return fs::is_directory(fs::path(p) / "mods.d", ec);
     }},
    {TSourceKind::Usfm, "USFM (ZIP или папка)", "import-usfm",
     [](const std::string& p) {
       std::error_code ec;
       if (!fs::is_directory(p, ec)) return IsUsfmZip(p);
       return AnyFileIn(p, [](const fs::path& f) { return IsUsfmFile(f.string()); });
     }},
    {TSourceKind::SwordPackage, "SWORD модул (ZIP)", "import-sword", IsZip},
    {TSourceKind::Osis, "OSIS XML", "import-osis",
     [](const std::string& p) { return Lower(Head(p, 4096)).find("<osis") != std::string::npos; }},
    {TSourceKind::ESword, "e-Sword (.bblx)", "import-esword",
     [](const std::string& p) { return SchemaHas(p, "create table bible"); }},
    {TSourceKind::MyBible, "MyBible (.SQLite3)", "import-mybible",
     [](const std::string& p) { return SchemaHas(p, "create table verses"); }},
    {TSourceKind::Zefania, "Zefania XML", "import-zefania",
     [](const std::string& p) {
       std::error_code ec;
       if (!fs::is_directory(p, ec)) return IsZefania(p);
       // A folder of Zefania files, one book each.
       return AnyFileIn(p, [](const fs::path& f) {
         return Lower(f.extension().string()) == ".xml" && IsZefania(f.string());
       });
     }},
};

const char* const FilterLanguages[] = {"bg", "ru", "la", "de", "en", "el", "grc"};

}  // namespace

TSourceKind DetectSourceKind(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !fs::exists(path, ec)) return TSourceKind::Unknown;
  for (const TSourceFormat& f : SourceFormats)
    if (f.Recognises(path)) return f.Kind;
  return TSourceKind::Unknown;
}

std::string SourceKindCaption(TSourceKind kind) {
  for (const TSourceFormat& f : SourceFormats)
    if (f.Kind == kind) return f.Caption;
  return {};
}

std::vector<std::string> ImportArguments(TSourceKind kind, const std::string& path, int version,
                                         const std::string& root) {
  for (const TSourceFormat& f : SourceFormats)
    if (f.Kind == kind) return {f.Command, path, std::to_string(version), root};
  return {};
}

int LanguageRank(const std::string& language) {
  const std::string l = Lower(language.substr(0, language.find_first_of("-_")));
  const auto* end = std::end(FilterLanguages);
  const auto* it = std::find(std::begin(FilterLanguages), end, l);
  // Modern and ancient Greek share one place.
  return it == end ? int(std::size(FilterLanguages)) : std::min(int(it - std::begin(FilterLanguages)), 5);
}

std::string LanguageCaption(const std::string& language) {
  static const char* const Captions[] = {"български", "руски", "латински", "немски", "английски", "гръцки"};
  const int rank = LanguageRank(language);
  return rank < 6 ? Captions[rank] : language;
}

int ProposeVersion(const std::string& language, const std::array<bool, VersionTableSize>& filled) {
  std::vector<int> choices;
  switch (LanguageRank(language)) {
    case 0: choices = {0, 1, 2}; break;
    case 1: choices = {3}; break;
    case 2: choices = {10}; break;
    case 3: choices = {8}; break;
    case 5: choices = {9}; break;
    default: choices = {7, 6}; break;
  }
  for (int v : choices)
    if (!filled[size_t(v)]) return v;
  return choices.front();
}

TImportEvent ParseImportEvent(const std::string& line) {
  TImportEvent e;
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  const size_t space = text.find(' ');
  const std::string word = text.substr(0, space);
  if (word == "failed") {
    e.Kind = TImportEvent::Failed;
    e.Item = space == std::string::npos ? "" : text.substr(space + 1);
    return e;
  }
  if (word != "progress" && word != "download") return e;
  // "WORD DONE TOTAL ITEM": both counts decimal, DONE at most TOTAL.
  size_t p = space;
  long long numbers[2];
  for (long long& n : numbers) {
    if (p == std::string::npos || p + 1 >= text.size() || text[p + 1] < '0' || text[p + 1] > '9')
      return e;
    n = 0;
    for (++p; p < text.size() && text[p] >= '0' && text[p] <= '9' && n < (1LL << 50); ++p)
      n = n * 10 + (text[p] - '0');
    if (p < text.size() && text[p] != ' ') return e;
    if (p == text.size()) p = std::string::npos;
  }
  if (numbers[0] > numbers[1]) return e;
  e.Kind = word == "progress" ? TImportEvent::Progress : TImportEvent::Download;
  e.Done = numbers[0];
  e.Total = numbers[1];
  e.Item = p == std::string::npos ? "" : text.substr(p + 1);
  return e;
}

bool ParseModuleEntry(const std::string& line, TModuleEntry& entry) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (int k = 0; k < 4; ++k) {
    const size_t tab = line.find('\t', start);
    if (tab == std::string::npos) return false;
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  std::string description = line.substr(start);
  while (!description.empty() && (description.back() == '\n' || description.back() == '\r'))
    description.pop_back();
  if (fields[0].empty()) return false;
  entry.Name = fields[0];
  entry.Language = fields[1];
  entry.Size = std::atoll(fields[2].c_str());
  entry.Licence = fields[3];
  entry.Description = description;
  return true;
}
