#include "tools/bible-tool/tsqlitebibles.h"

#include <sqlite3.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <memory>

#include "core/codepage.h"
#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmarkup.h"

namespace fs = std::filesystem;

namespace {

struct TDatabaseCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct TStatementCloser {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using TDatabase = std::unique_ptr<sqlite3, TDatabaseCloser>;
using TStatement = std::unique_ptr<sqlite3_stmt, TStatementCloser>;

// Opened read-only and immutable: a module is never written to, and a journal beside it is ignored.
TDatabase Open(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw TInputError("cannot read " + path);
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  TDatabase owner(db);
  if (rc != SQLITE_OK) throw TInputError(path + ": " + (db ? sqlite3_errmsg(db) : "cannot open"));
  // A damaged file shows itself at the first query, not at opening.
  char* error = nullptr;
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &error) !=
      SQLITE_OK) {
    std::string message = error ? error : "not a database";
    sqlite3_free(error);
    throw TInputError(path + " is not an SQLite database (" + message + ")");
  }
  return owner;
}

TStatement Prepare(sqlite3* db, const std::string& path, const std::string& sql) {
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
    throw TInputError(path + ": " + sqlite3_errmsg(db));
  return TStatement(s);
}

bool HasTable(sqlite3* db, const std::string& path, const std::string& table) {
  TStatement s = Prepare(
      db, path,
      "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND lower(name)=lower(?)");
  sqlite3_bind_text(s.get(), 1, table.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(s.get()) == SQLITE_ROW;
}

std::string Column(sqlite3_stmt* s, int i) {
  const unsigned char* t = sqlite3_column_text(s, i);
  return t ? std::string(reinterpret_cast<const char*>(t), size_t(sqlite3_column_bytes(s, i))) : "";
}

// Steps a query, turning a read error (a damaged page) into TInputError.
bool Step(sqlite3* db, sqlite3_stmt* s, const std::string& path) {
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  throw TInputError(path + ": " + sqlite3_errmsg(db));
}

std::string TextOfMarkup(const std::string& html) {
  std::string out;
  for (const TMarkupToken& t : TokenizeMarkup(html)) {
    if (t.Kind == TMarkupToken::Characters)
      out += t.Text;
    else if (t.Name == "br" || t.Name == "p")
      out += " ";
  }
  return out;
}

struct TMyBibleBook {
  int Number;
  const char* Osis;
};

constexpr TMyBibleBook MyBibleBooks[] = {
    {10, "Gen"},     {20, "Exod"},   {30, "Lev"},    {40, "Num"},    {50, "Deut"},
    {60, "Josh"},    {70, "Judg"},   {80, "Ruth"},   {90, "1Sam"},   {100, "2Sam"},
    {110, "1Kgs"},   {120, "2Kgs"},  {130, "1Chr"},  {140, "2Chr"},  {150, "Ezra"},
    {160, "Neh"},    {165, "1Esd"},  {170, "Tob"},   {180, "Jdt"},   {190, "Esth"},
    {220, "Job"},    {230, "Ps"},    {240, "Prov"},  {250, "Eccl"},  {260, "Song"},
    {270, "Wis"},    {280, "Sir"},   {290, "Isa"},   {300, "Jer"},   {310, "Lam"},
    {315, "EpJer"},  {320, "Bar"},   {330, "Ezek"},  {340, "Dan"},   {350, "Hos"},
    {360, "Joel"},   {370, "Amos"},  {380, "Obad"},  {390, "Jonah"}, {400, "Mic"},
    {410, "Nah"},    {420, "Hab"},   {430, "Zeph"},  {440, "Hag"},   {450, "Zech"},
    {460, "Mal"},    {462, "1Macc"}, {464, "2Macc"}, {466, "3Macc"}, {468, "2Esd"},
    {470, "Matt"},   {480, "Mark"},  {490, "Luke"},  {500, "John"},  {510, "Acts"},
    {520, "Jas"},    {530, "1Pet"},  {540, "2Pet"},  {550, "1John"}, {560, "2John"},
    {570, "3John"},  {580, "Jude"},  {590, "Rom"},   {600, "1Cor"},  {610, "2Cor"},
    {620, "Gal"},    {630, "Eph"},   {640, "Phil"},  {650, "Col"},   {660, "1Thess"},
    {670, "2Thess"}, {680, "1Tim"},  {690, "2Tim"},  {700, "Titus"}, {710, "Phlm"},
    {720, "Heb"},    {730, "Rev"},   {790, "PrMan"}};

}  // namespace

int SlotOfMyBibleNumber(int number) {
  for (const TMyBibleBook& b : MyBibleBooks)
    if (b.Number == number) return BookSlotOfOsis(b.Osis);
  return 0;
}

std::string ConvertMyBibleVerse(
    const std::string& text, bool strongs, bool newTestament,
    const std::function<std::string(const std::string& marker)>& notes) {
  std::string out;
  int skip = 0;  // inside <m>, <h> or a Strong's number not kept
  int note = 0;  // inside <n>
  std::string number, marker;
  enum { None, Number, Marker } capture = None;
  for (const TMarkupToken& t : TokenizeMarkup(text)) {
    if (t.Kind == TMarkupToken::Characters) {
      if (capture == Number)
        number += t.Text;
      else if (capture == Marker)
        marker += t.Text;
      else if (skip == 0)
        out += MarkupSafeText(t.Text);
      continue;
    }
    std::string n = t.Name;
    for (char& c : n) c = char(std::tolower((unsigned char)c));
    const bool start = t.Kind == TMarkupToken::Start;
    if (n == "br" || n == "pb") {
      if (start && skip == 0) out += note ? " " : "~";
    } else if (n == "s") {
      if (start && !t.SelfClosing) {
        capture = Number;
        number.clear();
      } else if (!start && capture == Number) {
        capture = None;
        std::string digits;
        for (char c : number)
          if (std::isdigit((unsigned char)c)) digits += c;
        while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
        const bool prefixed = !number.empty() && (number[0] == 'H' || number[0] == 'G');
        if (strongs && skip == 0 && !digits.empty())
          out += std::string(" ") + (prefixed ? number[0] : newTestament ? 'G' : 'H') + digits;
      }
    } else if (n == "m" || n == "h") {
      if (!t.SelfClosing) skip += start ? 1 : (skip > 0 ? -1 : 0);
    } else if (n == "i" || n == "e") {
      if (skip == 0 && !t.SelfClosing) out += "|";
    } else if (n == "n") {
      if (t.SelfClosing) continue;
      if (start) {
        if (note++ == 0 && skip == 0) out += " {";
      } else if (note > 0 && --note == 0 && skip == 0) {
        out += "}";
      }
    } else if (n == "f") {
      if (start && !t.SelfClosing) {
        capture = Marker;
        marker.clear();
      } else if (!start && capture == Marker) {
        capture = None;
        const std::string body = notes ? notes(marker) : "";
        if (!body.empty() && skip == 0 && note == 0) out += " {" + MarkupSafeText(body) + "}";
      }
    }
    // <J>, <t> and unknown tags keep their text.
  }
  if (note > 0) out += "}";
  return out;
}

TSourceBible ReadMyBible(const std::string& path, int versionIndex, TImportLog&) {
  TDatabase db = Open(path);
  for (const char* table : {"verses"})
    if (!HasTable(db.get(), path, table))
      throw TInputError(path + " is not a MyBible module (no table " + table + ")");
  TBookCollector collector;
  if (HasTable(db.get(), path, "info")) {
    TStatement s = Prepare(db.get(), path, "SELECT value FROM info WHERE name='description'");
    if (Step(db.get(), s.get(), path)) collector.Result.Name = Column(s.get(), 0);
  }
  if (HasTable(db.get(), path, "books")) {
    // The books in the order the module lists them (a Russian module puts James after Acts);
    // books the table does not list follow in the order of their numbers.
    TStatement s = Prepare(db.get(), path, "SELECT book_number, long_name, short_name FROM books");
    while (Step(db.get(), s.get(), path))
      collector.Name(SlotOfMyBibleNumber(sqlite3_column_int(s.get(), 0)),
                     TextOfMarkup(Column(s.get(), 1)), TextOfMarkup(Column(s.get(), 2)));
  }
  // The notes of the <f> markers, from the commentaries beside the module.
  TDatabase notes;
  TStatement noteQuery;
  std::string notesPath = path;
  const std::string suffix = ".SQLite3";
  if (notesPath.size() > suffix.size() &&
      notesPath.compare(notesPath.size() - suffix.size(), suffix.size(), suffix) == 0) {
    notesPath.insert(notesPath.size() - suffix.size(), ".commentaries");
    std::error_code ec;
    if (fs::is_regular_file(notesPath, ec)) {
      notes = Open(notesPath);
      if (HasTable(notes.get(), notesPath, "commentaries"))
        noteQuery = Prepare(notes.get(), notesPath,
                            "SELECT text FROM commentaries WHERE book_number=? AND "
                            "chapter_number_from=? AND verse_number_from=? AND marker=?");
    }
  }
  const bool strongs = versionIndex == 5;
  TStatement s = Prepare(db.get(), path,
                         "SELECT book_number, chapter, verse, text FROM verses "
                         "ORDER BY book_number, chapter, verse");
  while (Step(db.get(), s.get(), path)) {
    const int book = sqlite3_column_int(s.get(), 0);
    const int chapter = sqlite3_column_int(s.get(), 1), verse = sqlite3_column_int(s.get(), 2);
    if (sqlite3_column_type(s.get(), 3) == SQLITE_BLOB)
      throw TInputError(path + ": verse texts are stored as binary data (an encrypted module?)");
    auto note = [&](const std::string& marker) -> std::string {
      if (!noteQuery) return "";
      sqlite3_reset(noteQuery.get());
      sqlite3_bind_int(noteQuery.get(), 1, book);
      sqlite3_bind_int(noteQuery.get(), 2, chapter);
      sqlite3_bind_int(noteQuery.get(), 3, verse);
      sqlite3_bind_text(noteQuery.get(), 4, marker.c_str(), -1, SQLITE_TRANSIENT);
      return Step(notes.get(), noteQuery.get(), notesPath)
                 ? TextOfMarkup(Column(noteQuery.get(), 0))
                 : "";
    };
    const std::string text = ConvertMyBibleVerse(Column(s.get(), 3), strongs, book >= 470, note);
    collector.Add(SlotOfMyBibleNumber(book), std::to_string(book), chapter, verse, text);
  }
  TSourceBible bible = collector.Finish();
  if (bible.Books.empty())
    throw TInputError(path + " holds no verse of a book with a place among the 78 book slots");
  return bible;
}

std::string ConvertESwordVerse(const std::string& rtf, bool strongs) {
  struct TGroup {
    size_t Start;          // where the group's text begins in OUT
    bool Super = false;    // superscript
    bool Dropped = false;  // a destination ({\*...}, font tables)
    bool Italic = false;
  };
  std::string out;
  std::vector<TGroup> groups;
  bool italic = false;
  int skipChars = 0;  // the replacement characters after \uN
  auto dropped = [&] {
    for (const TGroup& g : groups)
      if (g.Dropped) return true;
    return false;
  };
  auto setItalic = [&](bool on) {
    if (on != italic && !dropped()) out += "|";
    italic = on;
  };
  auto put = [&](const std::string& s) {
    if (skipChars > 0) {
      --skipChars;
      return;
    }
    if (!dropped()) out += s;
  };
  for (size_t i = 0; i < rtf.size();) {
    const char c = rtf[i];
    if (c == '{') {
      groups.push_back({out.size(), false, false, italic});
      ++i;
      if (rtf.compare(i, 2, "\\*") == 0) groups.back().Dropped = true;
      continue;
    }
    if (c == '}') {
      ++i;
      if (groups.empty()) continue;
      TGroup g = groups.back();
      groups.pop_back();
      if (g.Dropped) continue;
      // A group of its own holding a Strong's number or a superscript verse or note number.
      std::string inner = out.substr(g.Start);
      std::string trimmed = inner;
      while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '|'))
        trimmed.pop_back();
      while (!trimmed.empty() && (trimmed[0] == ' ' || trimmed[0] == '|')) trimmed.erase(0, 1);
      const bool number = trimmed.size() > 1 && (trimmed[0] == 'H' || trimmed[0] == 'G') &&
                          trimmed.find_first_not_of("0123456789", 1) == std::string::npos;
      if (number) {
        out.resize(g.Start);
        std::string digits = trimmed.substr(1);
        while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
        if (strongs) out += std::string(" ") + trimmed[0] + digits;
      } else if (g.Super) {
        out.resize(g.Start);
      }
      if (italic != g.Italic) setItalic(g.Italic);
      continue;
    }
    if (c == '\\') {
      ++i;
      if (i >= rtf.size()) break;
      const char d = rtf[i];
      if (d == '\\' || d == '{' || d == '}') {
        put(MarkupSafeText(std::string(1, d)));
        ++i;
        continue;
      }
      if (d == '\'') {
        const std::string hex = rtf.substr(i + 1, 2);
        i += 1 + hex.size();
        char* end = nullptr;
        const long byte = std::strtol(hex.c_str(), &end, 16);
        if (hex.size() == 2 && end == hex.c_str() + 2) {
          std::string utf8;
          AppendUtf8(utf8, TCodePageTable::Find("windows-1252")->Char((unsigned char)byte));
          put(utf8);
        }
        continue;
      }
      if (d == '~') {
        put(" ");
        ++i;
        continue;
      }
      if (!std::isalpha((unsigned char)d)) {
        ++i;  // \- \_ and other symbols
        continue;
      }
      size_t j = i;
      while (j < rtf.size() && std::isalpha((unsigned char)rtf[j])) ++j;
      const std::string word = rtf.substr(i, j - i);
      bool hasNumber = false;
      long number = 0;
      size_t k = j;
      if (k < rtf.size() && (rtf[k] == '-' || std::isdigit((unsigned char)rtf[k]))) {
        const bool negative = rtf[k] == '-';
        if (negative) ++k;
        while (k < rtf.size() && std::isdigit((unsigned char)rtf[k]) && number < 1000000) {
          number = number * 10 + (rtf[k] - '0');
          hasNumber = true;
          ++k;
        }
        while (k < rtf.size() && std::isdigit((unsigned char)rtf[k])) ++k;
        if (negative) number = -number;
      }
      if (k < rtf.size() && rtf[k] == ' ') ++k;  // the blank that ends a control word
      i = k;
      if (word == "u" && hasNumber) {
        char32_t cp = char32_t(number < 0 ? number + 65536 : number);
        if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;  // half of a pair the fragments never split
        std::string utf8;
        AppendUtf8(utf8, cp);
        put(MarkupSafeText(utf8));
        skipChars = 1;
      } else if (word == "par" || word == "line") {
        if (!dropped()) out += "~";
      } else if (word == "tab") {
        put(" ");
      } else if (word == "i") {
        setItalic(!hasNumber || number != 0);
      } else if (word == "super" && !groups.empty()) {
        groups.back().Super = true;
      } else if ((word == "fonttbl" || word == "colortbl" || word == "stylesheet" ||
                  word == "info" || word == "pict") &&
                 !groups.empty()) {
        groups.back().Dropped = true;
      }
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    // Plain text up to the next control character, as UTF-8.
    size_t j = i;
    while (j < rtf.size() && rtf[j] != '\\' && rtf[j] != '{' && rtf[j] != '}' && rtf[j] != '\r' &&
           rtf[j] != '\n')
      ++j;
    std::string run = rtf.substr(i, j - i);
    i = j;
    if (skipChars > 0 && !run.empty()) {
      // The replacement character of a \uN: one character of the run.
      size_t len = 1;
      while (len < run.size() && ((unsigned char)run[len] & 0xC0) == 0x80) ++len;
      run.erase(0, len);
      skipChars = 0;
    }
    if (!dropped()) out += MarkupSafeText(run);
  }
  if (italic) out += "|";
  return out;
}

TSourceBible ReadESword(const std::string& path, int versionIndex, TImportLog&) {
  TDatabase db = Open(path);
  if (HasTable(db.get(), path, "sqliteplus_license"))
    throw TInputError(path +
                      " is an encrypted e-Sword module; only unencrypted modules can be imported");
  if (!HasTable(db.get(), path, "Bible"))
    throw TInputError(path + " is not an e-Sword Bible (no table Bible)");
  TBookCollector collector;
  if (HasTable(db.get(), path, "Details")) {
    // Older modules have a Description and no Title.
    for (const char* column : {"Title", "Description", "Abbreviation"}) {
      sqlite3_stmt* raw = nullptr;
      const std::string sql = std::string("SELECT ") + column + " FROM Details";
      if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) continue;
      TStatement s(raw);
      if (Step(db.get(), s.get(), path) && sqlite3_column_type(s.get(), 0) == SQLITE_TEXT) {
        collector.Result.Name = Column(s.get(), 0);
        if (!collector.Result.Name.empty()) break;
      }
    }
  }
  const bool strongs = versionIndex == 5;
  TStatement s =
      Prepare(db.get(), path,
              "SELECT Book, Chapter, Verse, Scripture FROM Bible ORDER BY Book, Chapter, Verse");
  while (Step(db.get(), s.get(), path)) {
    const int book = sqlite3_column_int(s.get(), 0);
    if (sqlite3_column_type(s.get(), 3) == SQLITE_BLOB)
      throw TInputError(path +
                        " is an encrypted e-Sword module (its text is stored as binary data)");
    const std::string text = ConvertESwordVerse(Column(s.get(), 3), strongs);
    collector.Add(SlotOfProtestantNumber(book), std::to_string(book),
                  sqlite3_column_int(s.get(), 1), sqlite3_column_int(s.get(), 2), text);
  }
  TSourceBible bible = collector.Finish();
  if (bible.Books.empty())
    throw TInputError(path + " holds no verse of a book with a place among the 78 book slots");
  return bible;
}
