#include "core/bibleunit.h"

#include <algorithm>
#include <climits>

#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/tfile.h"
#include "core/tinfofile.h"

int VerseNumber(const TBible& bible, int position, int chapter, int verse) {
  int base = position > 1 ? bible.BookAt(position - 1).LastVerse : 0;
  if (position < 1 || position > bible.BookCount) return base;
  const TBook& book = bible.BookAt(position);
  const int chapters = std::min<int>(chapter - 1, int(book.Chapters.size()));
  for (int c = 0; c < chapters; ++c) base += book.Chapters[size_t(c)];
  return base + verse;
}

void LocateVerse(const TBible& bible, int n, int& position, int& chapter, int& verse) {
  chapter = 1;
  verse = 1;
  if (bible.VerseCount == 0) {
    position = bible.BookCount > 0 ? 1 : 0;
    return;
  }
  n = std::clamp(n, 1, int(bible.VerseCount));
  int p = 1;
  while (p < bible.BookCount && bible.BookAt(p).LastVerse < n) ++p;
  if (p > 1) n -= bible.BookAt(p - 1).LastVerse;
  const TBook& book = bible.BookAt(p);
  size_t c = 0;
  while (c + 1 < book.Chapters.size() && book.Chapters[c] < n) {
    n -= book.Chapters[c];
    ++c;
  }
  position = p;
  chapter = int(c) + 1;
  verse = n;
}

std::string VerseReference(const TBible& bible, int n, bool shortName) {
  int p, c, v;
  LocateVerse(bible, n, p, c, v);
  const TBook& book = bible.BookAt(p);
  return (shortName ? book.ShortName : book.Name) + " " + std::to_string(c) + ":" +
         std::to_string(v);
}

std::string ChapterHeading(const TBible& bible, int slot) {
  const bool psalm = slot == 22;
  // The words are bytes of windows-1251, the code page of the versions that use them.
  switch (bible.VersionIndex) {
    case 0: case 1: case 2:
      return Utf8ToCp1251(psalm ? "  Псалом " : "  Глава ");
    case 3:
      return Utf8ToCp1251(psalm ? "  Псалом " : "  Голова  ");
    case 8:
      return "  Kapitel ";
    case 9:
      return "  ";
    default:
      return psalm ? "  Psalm " : "  Chapter ";
  }
}

namespace {

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0;
}
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(unsigned char c) { return IsLetter(c) || IsDigit(c); }
unsigned char At(const std::string& s, size_t i) { return static_cast<unsigned char>(s[i]); }

size_t CommonPrefix(const std::string& a, const std::string& b) {
  size_t n = 0;
  while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
  return n;
}

// The framework's integer conversion: leading digits, stopping at the first non-digit.
// Returns the index of that first non-digit; the value saturates instead of overflowing.
size_t LeadingNumber(const std::string& s, int& value) {
  long long v = 0;
  size_t i = 0;
  while (i < s.size() && IsDigit(At(s, i))) {
    v = std::min<long long>(v * 10 + (s[i] - '0'), INT_MAX);
    ++i;
  }
  value = int(v);
  return i;
}

}  // namespace

void NormalizeReference(std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    if (i > 0 && ((IsLetter(At(s, i - 1)) && IsDigit(At(s, i))) ||
                  (IsDigit(At(s, i - 1)) && IsLetter(At(s, i)))))
      s.insert(i, 1, ' ');
    if (s[i] == ' ') {
      if (i != 0 && i + 1 < s.size() && IsAlnum(At(s, i - 1)) && IsAlnum(At(s, i + 1)))
        ++i;
      else
        s.erase(i, 1);
    } else {
      ++i;
    }
  }
  if (s.empty()) return;
  s = AnsiLowerCase(s);
  size_t j = 0;
  while (j + 1 < s.size() && !IsLetter(At(s, j))) ++j;
  s[j] = char(ansi::UpperChar(At(s, j)));
}

namespace {

// The book name or abbreviation of the version at the front of s: its position, or -1.
int FindOwnBookName(const TBible& bible, std::string& s) {
  int best = 1;
  long long bestNum = 0, bestDen = 1;  // the best ratio as a fraction, compared exactly
  size_t bestPrefix = 0;
  for (int i = 1; i <= bible.BookCount; ++i) {
    const TBook& book = bible.BookAt(i);
    std::string a = book.ShortName;
    NormalizeReference(a);
    if (!a.empty() && s.compare(0, a.size(), a) == 0) {
      s.erase(0, a.size());
      return i;
    }
    const size_t prefix = CommonPrefix(s, book.Name);
    size_t word = prefix;
    while (word < s.size() && bible.Letters.test(At(s, word))) ++word;
    if (word >= 1 && (long long)prefix * bestDen > bestNum * (long long)word) {
      bestNum = (long long)prefix;
      bestDen = (long long)word;
      bestPrefix = prefix + 1;
      best = i;
    }
  }
  if (3 * bestNum <= 2 * bestDen || bestPrefix < 3) return -1;
  s.erase(0, CommonPrefix(s, bible.BookAt(best).Name));
  return best;
}

bool HasLetter(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return IsLetter(static_cast<unsigned char>(c)); });
}

}  // namespace

int FindBookName(const TBible& bible, std::string& s) {
  const int own = FindOwnBookName(bible, s);
  if (own >= 0 || !HasLetter(s)) return own;
  // Readers copy references in either language: the other versions' names of the same slot,
  // in version order. Names in another code page would compare as unrelated bytes.
  const int charset = BookNameCharset(&bible);
  for (int v = 0; v < VersionTableSize; ++v) {
    if (v == bible.VersionIndex) continue;
    const std::unique_ptr<TBible> other = TBible::LoadNames(v);
    if (!other || BookNameCharset(other.get()) != charset) continue;
    std::string rest = s;
    const int at = FindOwnBookName(*other, rest);
    if (at < 0) continue;
    const int position = bible.BookPosition[other->BookOrder[size_t(at)]];
    // A book that this version lacks is still a book name: the text is no place here.
    if (position < 1) return -1;
    s = rest;
    return position;
  }
  return -1;
}

bool ParseReference(const TBible& bible, const std::string& text, int& position, int& chapter,
                    int& verse) {
  std::string s = text;
  NormalizeReference(s);
  // Quotes or brackets around a copied reference are not part of it.
  size_t lead = 0;
  while (lead < s.size() && !IsAlnum(At(s, lead))) ++lead;
  s.erase(0, lead);
  bool found = false;
  const int k = FindBookName(bible, s);
  if (k >= 0) {
    position = k;
    found = true;
  } else if (!s.empty() && IsLetter(At(s, 0))) {
    // A text that begins with a word naming no book ("Table 3:16") is no reference, however
    // its numbers read.
    chapter = 1;
    verse = 1;
    return false;
  }
  size_t start = 0;
  while (start < s.size() && !IsDigit(At(s, start))) ++start;
  s.erase(0, start);
  chapter = 1;
  verse = 1;
  if (s.empty()) return found;
  int x = 0;
  const size_t stop = LeadingNumber(s, x);
  if (stop == s.size()) {
    (found ? chapter : verse) = x;
    return true;
  }
  chapter = x;
  const std::string rest = s.substr(stop + 1);
  int v = 0;
  const size_t restStop = LeadingNumber(rest, v);
  if (restStop > 0) verse = v;
  return (!rest.empty() && restStop == rest.size()) ? true : found;
}

std::string ReadVerse(const TBible& bible, int n) {
  if (bible.DataPath.empty()) return {};
  if (bible.Unreadable(n)) return {};  // damage already reported once, at load
  TInfoFile pair(bible.DataPath + "CompactPoint.bin", bible.DataPath + "CompactText.bin");
  return pair.ReadRecord(n - 1);
}

std::vector<std::string> ReadVerses(const TBible& bible, int first, int count) {
  std::vector<std::string> verses;
  if (count <= 0) return verses;
  verses.reserve(size_t(count));
  if (bible.DataPath.empty()) {
    verses.resize(size_t(count));
    return verses;
  }
  TInfoFile pair(bible.DataPath + "CompactPoint.bin", bible.DataPath + "CompactText.bin");
  for (int n = first; n < first + count; ++n)
    verses.push_back(bible.Unreadable(n) ? std::string() : pair.ReadRecord(n - 1));
  return verses;
}

std::string ReadVerseAt(const TBible& bible, int position, int chapter, int verse) {
  return ReadVerse(bible, VerseNumber(bible, position, chapter, verse));
}

std::string ReadWordLine(const TBible& bible, int32_t i) {
  if (bible.DataPath.empty()) return {};
  TInfoFile pair(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
  return pair.ReadLine(i);
}

VerseList LoadWordVerses(const TBible& bible, int32_t i) {
  TFile units;
  if (bible.DataPath.empty() || !units.OpenRead(bible.DataPath + "ConcP.bin")) return {};
  // An index outside ConcP.bin has no stored set: the search takes it as no verses.
  if (i < 0 || int64_t(i) * 4 + 4 > units.Size()) return {};
  unsigned char buf[4];
  units.Seek(int64_t(i) * 4);
  units.ReadExact(buf, 4);
  units.Close();
  return LoadVerseList(GetI32(buf), bible.DataPath + "Conc.bin");
}
