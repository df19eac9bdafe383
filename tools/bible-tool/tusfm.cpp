#include "tools/bible-tool/tusfm.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmarkup.h"

namespace fs = std::filesystem;

namespace {

const std::map<std::string, std::string>& UsfmBooks() {
  static const std::map<std::string, std::string> books = [] {
    const char* pairs[][2] = {
        {"GEN", "Gen"},   {"EXO", "Exod"},   {"LEV", "Lev"},    {"NUM", "Num"},   {"DEU", "Deut"},
        {"JOS", "Josh"},  {"JDG", "Judg"},   {"RUT", "Ruth"},   {"1SA", "1Sam"},  {"2SA", "2Sam"},
        {"1KI", "1Kgs"},  {"2KI", "2Kgs"},   {"1CH", "1Chr"},   {"2CH", "2Chr"},  {"EZR", "Ezra"},
        {"NEH", "Neh"},   {"EST", "Esth"},   {"JOB", "Job"},    {"PSA", "Ps"},    {"PRO", "Prov"},
        {"ECC", "Eccl"},  {"SNG", "Song"},   {"ISA", "Isa"},    {"JER", "Jer"},   {"LAM", "Lam"},
        {"EZK", "Ezek"},  {"DAN", "Dan"},    {"HOS", "Hos"},    {"JOL", "Joel"},  {"AMO", "Amos"},
        {"OBA", "Obad"},  {"JON", "Jonah"},  {"MIC", "Mic"},    {"NAM", "Nah"},   {"HAB", "Hab"},
        {"ZEP", "Zeph"},  {"HAG", "Hag"},    {"ZEC", "Zech"},   {"MAL", "Mal"},   {"MAT", "Matt"},
        {"MRK", "Mark"},  {"LUK", "Luke"},   {"JHN", "John"},   {"ACT", "Acts"},  {"ROM", "Rom"},
        {"1CO", "1Cor"},  {"2CO", "2Cor"},   {"GAL", "Gal"},    {"EPH", "Eph"},   {"PHP", "Phil"},
        {"COL", "Col"},   {"1TH", "1Thess"}, {"2TH", "2Thess"}, {"1TI", "1Tim"},  {"2TI", "2Tim"},
        {"TIT", "Titus"}, {"PHM", "Phlm"},   {"HEB", "Heb"},    {"JAS", "Jas"},   {"1PE", "1Pet"},
        {"2PE", "2Pet"},  {"1JN", "1John"},  {"2JN", "2John"},  {"3JN", "3John"}, {"JUD", "Jude"},
        {"REV", "Rev"},   {"TOB", "Tob"},    {"JDT", "Jdt"},    {"WIS", "Wis"},   {"SIR", "Sir"},
        {"BAR", "Bar"},   {"LJE", "EpJer"},  {"1MA", "1Macc"},  {"2MA", "2Macc"}, {"3MA", "3Macc"},
        {"1ES", "1Esd"},  {"2ES", "2Esd"},   {"MAN", "PrMan"}};
    std::map<std::string, std::string> m;
    for (const auto& p : pairs) m[p[0]] = p[1];
    return m;
  }();
  return books;
}

// Markers whose content is the rest of their line and has no place in a verse.
bool LineMarker(const std::string& m) {
  static const char* const prefixes[] = {
      "id",  "ide", "h",   "toc",     "mt",     "ms",   "mr",  "s",   "sr", "r",   "d",
      "sp",  "rem", "sts", "usfm",    "cl",     "cp",   "cd",  "is",  "ip", "iot", "io",
      "ili", "imt", "ie",  "restore", "periph", "imte", "mte", "lit", "iq", "im",  "ib"};
  std::string base = m;
  while (!base.empty() && std::isdigit((unsigned char)base.back())) base.pop_back();
  for (const char* p : prefixes)
    if (base == p) return true;
  return false;
}

// Paragraph and poetry markers: a new line of the text.
bool ParagraphMarker(const std::string& m) {
  std::string base = m;
  while (!base.empty() && std::isdigit((unsigned char)base.back())) base.pop_back();
  static const char* const names[] = {"p",  "m",  "q",   "qr",  "qc",  "qa",  "qm", "pi", "li",
                                      "nb", "pc", "pm",  "pmo", "pmc", "pmr", "mi", "b",  "ph",
                                      "lh", "lf", "lim", "po",  "pr",  "cls", "tr", "qd"};
  for (const char* n : names)
    if (base == n) return true;
  return false;
}

// Leading decimal number (at most six digits); -1 when there is none.
int LeadingNumber(const std::string& s, size_t& i) {
  int n = 0, digits = 0;
  while (i < s.size() && std::isdigit((unsigned char)s[i]) && digits < 6) {
    n = n * 10 + (s[i] - '0');
    ++i;
    ++digits;
  }
  while (i < s.size() && std::isdigit((unsigned char)s[i])) ++i;
  return digits ? n : -1;
}

// A book's place in the order of the codes above.
int Rank(int slot) {
  static const std::map<int, int> ranks = [] {
    std::map<int, int> m;
    int i = 0;
    for (const char* code :
         {"GEN", "EXO", "LEV", "NUM", "DEU", "JOS", "JDG", "RUT", "1SA", "2SA", "1KI", "2KI",
          "1CH", "2CH", "EZR", "NEH", "EST", "JOB", "PSA", "PRO", "ECC", "SNG", "ISA", "JER",
          "LAM", "EZK", "DAN", "HOS", "JOL", "AMO", "OBA", "JON", "MIC", "NAM", "HAB", "ZEP",
          "HAG", "ZEC", "MAL", "TOB", "JDT", "WIS", "SIR", "BAR", "LJE", "1MA", "2MA", "3MA",
          "1ES", "2ES", "MAN", "MAT", "MRK", "LUK", "JHN", "ACT", "ROM", "1CO", "2CO", "GAL",
          "EPH", "PHP", "COL", "1TH", "2TH", "1TI", "2TI", "TIT", "PHM", "HEB", "JAS", "1PE",
          "2PE", "1JN", "2JN", "3JN", "JUD", "REV"})
      m[BookSlotOfOsis(UsfmBooks().at(code))] = i++;
    return m;
  }();
  auto it = ranks.find(slot);
  return it == ranks.end() ? 1000 : it->second;
}

class TUsfmReader {
 public:
  TUsfmReader(int versionIndex, TImportLog& log) : Strongs(versionIndex == 5), Log(log) {}

  void ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw TInputError("cannot read " + path);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    File = path;
    Parse(text);
  }

  TSourceBible Finish(const std::string& path) {
    TSourceBible bible = Collector.Finish();
    // The books in the canon's order whatever the order of the files' names.
    std::stable_sort(
        bible.Books.begin(), bible.Books.end(),
        [](const TSourceBook& a, const TSourceBook& b) { return Rank(a.Slot) < Rank(b.Slot); });
    bible.Name = Name;
    bible.RangesSplit = RangesSplit;
    if (bible.Books.empty())
      throw TInputError(path + " holds no USFM book with a place among the 78 book slots");
    return bible;
  }

 private:
  void Fail(const std::string& what) const {
    throw TInputError(File + ": line " + std::to_string(Line) + ": " + what);
  }

  void Parse(const std::string& s) {
    Slot = -1;
    Chapter = 0;
    Book.clear();
    Line = 1;
    InVerse = false;
    Stack.clear();
    size_t i = 0;
    while (i < s.size()) {
      const char c = s[i];
      if (c != '\\') {
        size_t j = s.find('\\', i);
        if (j == std::string::npos) j = s.size();
        Line += int(std::count(s.begin() + long(i), s.begin() + long(j), '\n'));
        Text(s.substr(i, j - i));
        i = j;
        continue;
      }
      size_t j = i + 1;
      if (j < s.size() && s[j] == '+') ++j;  // a nested character style
      const size_t nameStart = j;
      while (j < s.size() && (std::isalnum((unsigned char)s[j]) || s[j] == '-' || s[j] == '_')) ++j;
      std::string marker = s.substr(nameStart, j - nameStart);
      bool closing = false;
      if (j < s.size() && s[j] == '*') {
        closing = true;
        ++j;
      } else if (j < s.size() && (s[j] == ' ' || s[j] == '\t')) {
        ++j;  // the blank that ends a marker is not text
      }
      i = j;
      if (marker.empty()) continue;  // a lone backslash
      if (closing) {
        Close(marker);
        continue;
      }
      if (LineMarker(marker)) {
        size_t end = s.find('\n', i);
        if (end == std::string::npos) end = s.size();
        LineContent(marker, s.substr(i, end - i));
        i = end;
        continue;
      }
      if (marker == "c" || marker == "v") {
        while (i < s.size() && s[i] == ' ') ++i;
        size_t k = i;
        const int n = LeadingNumber(s, k);
        if (n < 0) Fail("\\" + marker + " without a number");
        int last = n;
        if (k < s.size() && s[k] == '-') {
          size_t m = k + 1;
          last = LeadingNumber(s, m);
          if (last >= n)
            k = m;
          else
            last = n;
        }
        while (k < s.size() && std::isalpha((unsigned char)s[k])) ++k;  // "1a"
        if (k < s.size() && s[k] == ' ') ++k;
        i = k;
        if (marker == "c")
          StartChapter(n);
        else
          StartVerse(n, last);
        continue;
      }
      Open(marker);
    }
    EndVerse();
  }

  void LineContent(const std::string& marker, std::string content) {
    while (!content.empty() && (content.back() == '\r' || content.back() == ' '))
      content.pop_back();
    if (marker == "id") {
      EndVerse();
      const std::string code = content.substr(0, content.find(' '));
      std::string upper;
      for (char c : code) upper += char(std::toupper((unsigned char)c));
      Book = upper;
      const std::string osis = OsisOfUsfmBook(upper);
      Slot = osis.empty() ? 0 : BookSlotOfOsis(osis);
      if (Slot == 0 && !upper.empty() &&
          std::find(Collector.Result.Skipped.begin(), Collector.Result.Skipped.end(), upper) ==
              Collector.Result.Skipped.end())
        Collector.Result.Skipped.push_back(upper);
      if (Name.empty() && content.size() > code.size()) {
        std::string rest = content.substr(code.size());
        size_t a = rest.find_first_not_of(" -\t");
        if (a != std::string::npos) Name = rest.substr(a);
      }
      return;
    }
    if (marker == "h" || marker == "toc2") {
      if (marker == "toc2" || BookName.empty()) BookName = content;
      Collector.Name(Slot, "", "");
    } else if (marker == "toc3") {
      BookShort = content;
    } else if (marker != "toc1" && marker != "ide" && marker != "usfm") {
      ++Log.Omitted;  // headings, titles, introductions, remarks
    }
  }

  void StartChapter(int n) {
    EndVerse();
    if (Slot < 0) Fail("\\c before \\id");
    Chapter = n;
    if (Slot > 0 && !BookName.empty()) {
      Collector.Name(Slot, BookName, BookShort);
      BookName.clear();
      BookShort.clear();
    }
  }

  void StartVerse(int first, int last) {
    EndVerse();
    if (Chapter == 0) Fail("\\v " + std::to_string(first) + " before any \\c");
    Verse = first;
    InVerse = true;
    Paragraph = PendingParagraph;
    PendingParagraph = false;
    VerseText.clear();
    Stack.clear();
    if (last > first) {
      ++RangesSplit;
      // The others of the range: empty verses, so that the chapter's numbering stays.
      for (int v = first + 1; v <= last; ++v) Collector.Add(Slot, Book, Chapter, v, "");
    }
  }

  void EndVerse() {
    if (!InVerse) return;
    InVerse = false;
    while (!Stack.empty()) Close(Stack.back().Marker);
    Collector.Add(Slot, Book, Chapter, Verse, VerseText, Paragraph);
    VerseText.clear();
  }

  struct TOpen {
    std::string Marker;
    enum { Plain, Note, Drop, Italic, Word, NoteReference, Caller } Kind = Plain;
    std::string Content;  // the content of \w up to its end
  };

  bool Dropping() const {
    for (const TOpen& o : Stack)
      if (o.Kind == TOpen::Drop) return true;
    return false;
  }

  void Open(const std::string& marker) {
    if (!InVerse) {
      if (marker == "p") PendingParagraph = true;
      // Text outside verses (introductions, a chapter's heading) is left out; notes in it too.
      if (marker == "f" || marker == "fe" || marker == "x")
        Stack.push_back({marker, TOpen::Drop, ""});
      return;
    }
    if (ParagraphMarker(marker)) {
      // The note or style a paragraph interrupts ends there.
      while (!Stack.empty()) Close(Stack.back().Marker);
      if (!VerseText.empty()) VerseText += "~";
      // A paragraph that the next verse opens: known when a \v follows before any text.
      PendingParagraph = marker == "p" || marker == "pi" || marker == "pi1";
      return;
    }
    // A note's own markers: the reference is left out, the rest is text.
    if (!Stack.empty() && Stack.back().Kind == TOpen::NoteReference) Stack.pop_back();
    if (marker == "fr" || marker == "xo" || marker == "fv") {
      Stack.push_back({marker, TOpen::NoteReference, ""});
      return;
    }
    if (marker[0] == 'f' && marker != "fig" && marker != "f" && marker != "fe") return;
    if (marker == "f" || marker == "fe") {
      if (!Dropping()) VerseText += " {";
      Stack.push_back({marker, TOpen::Note, ""});
      Stack.push_back({marker, TOpen::Caller, ""});
    } else if (marker == "x" || marker == "fig") {
      Stack.push_back({marker, TOpen::Drop, ""});
    } else if (marker == "add" || marker == "it") {
      if (!Dropping()) VerseText += "|";
      Stack.push_back({marker, TOpen::Italic, ""});
    } else if (marker == "w") {
      Stack.push_back({marker, TOpen::Word, ""});
    } else {
      Stack.push_back({marker, TOpen::Plain, ""});
    }
  }

  void Close(const std::string& marker) {
    // Closes up to the marker's own opening; a closing marker without one is ignored.
    auto it = std::find_if(Stack.rbegin(), Stack.rend(),
                           [&](const TOpen& o) { return o.Marker == marker; });
    if (it == Stack.rend()) return;
    while (!Stack.empty()) {
      TOpen o = std::move(Stack.back());
      Stack.pop_back();
      const bool dropping = Dropping();
      if (!dropping && InVerse) {
        if (o.Kind == TOpen::Note)
          VerseText += "}";
        else if (o.Kind == TOpen::Italic)
          VerseText += "|";
        else if (o.Kind == TOpen::Word)
          WriteWord(o.Content);
      }
      if (o.Marker == marker && o.Kind != TOpen::Caller && o.Kind != TOpen::NoteReference) break;
    }
  }

  void WriteWord(const std::string& content) {
    const size_t bar = content.find('|');
    std::string word = content.substr(0, bar);
    std::string number;
    if (bar != std::string::npos && Strongs) {
      const std::string attributes = content.substr(bar + 1);
      const size_t at = attributes.find("strong=\"");
      if (at != std::string::npos) {
        const size_t end = attributes.find('"', at + 8);
        number =
            attributes.substr(at + 8, end == std::string::npos ? std::string::npos : end - at - 8);
        number = number.substr(0, number.find_first_of(", "));
        while (number.size() > 1 && number[1] == '0') number.erase(1, 1);  // "H0430" -> "H430"
      }
    }
    VerseText += MarkupSafeText(word);
    if (!number.empty()) VerseText += " " + MarkupSafeText(number);
  }

  void Text(const std::string& raw) {
    if (!InVerse || Dropping()) return;
    if (raw.find_first_not_of(" \t\r\n") != std::string::npos) PendingParagraph = false;
    std::string text = raw;
    if (!Stack.empty()) {
      TOpen& top = Stack.back();
      if (top.Kind == TOpen::NoteReference) return;
      if (top.Kind == TOpen::Caller) {
        // The caller ("+", "-" or a letter) before the note's text.
        size_t a = text.find_first_not_of(" \t\r\n");
        if (a == std::string::npos) return;
        size_t b = text.find_first_of(" \t\r\n", a);
        text = b == std::string::npos ? "" : text.substr(b + 1);
        Stack.pop_back();
      } else if (top.Kind == TOpen::Word) {
        top.Content += text;
        return;
      }
    }
    VerseText += MarkupSafeText(text);
  }

  bool Strongs;
  TImportLog& Log;
  TBookCollector Collector;
  std::string File, Book, Name, BookName, BookShort, VerseText;
  int Slot = -1, Chapter = 0, Verse = 0, Line = 1;
  bool InVerse = false, Paragraph = false, PendingParagraph = false;
  int64_t RangesSplit = 0;
  std::vector<TOpen> Stack;
};

}  // namespace

std::string OsisOfUsfmBook(const std::string& code) {
  auto it = UsfmBooks().find(code);
  return it == UsfmBooks().end() ? "" : it->second;
}

TSourceBible ReadUsfmFiles(const std::vector<std::string>& files, const std::string& source,
                           int versionIndex, TImportLog& log) {
  if (files.empty()) throw TInputError(source + " holds no .usfm or .sfm file");
  TUsfmReader reader(versionIndex, log);
  int done = 0;
  for (const std::string& f : files) {
    reader.ReadFile(f);
    if (log.Progress) log.Progress(fs::path(f).filename().string(), ++done, int(files.size()));
  }
  return reader.Finish(source);
}

bool IsUsfmFile(const std::string& path) {
  std::string e = fs::path(path).extension().string();
  for (char& c : e) c = char(std::tolower((unsigned char)c));
  return e == ".usfm" || e == ".sfm" || e == ".ptx" || e == ".txt";
}
