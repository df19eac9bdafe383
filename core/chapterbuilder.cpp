#include "core/chapterbuilder.h"

#include <algorithm>

#include "core/ansi.h"
#include "core/bibleunit.h"

TViewOptions TViewOptions::Unpack(int32_t packed) {
  const auto u = uint32_t(packed);
  TViewOptions o;
  o.ShowBook = (u & 0xFF) != 0;
  o.ShowChapter = ((u >> 8) & 0xFF) != 0;
  o.ShowVerse = ((u >> 16) & 0xFF) != 0;
  o.ShortNames = ((u >> 24) & 0xFF) != 0;
  return o;
}

int32_t TViewOptions::Pack() const {
  return int32_t(uint32_t(ShowBook) | uint32_t(ShowChapter) << 8 | uint32_t(ShowVerse) << 16 |
                 uint32_t(ShortNames) << 24);
}

void StripFootnotes(std::string& text) {
  size_t p = text.find(" {");
  while (p != std::string::npos) {
    const size_t q = text.find('}', p);
    if (q == std::string::npos) return;
    text.erase(p, q - p + 1);
    p = text.find('{');
  }
}

std::string VerseLabel(const TBook& book, int chapter, int verse, const TViewOptions& options) {
  std::string label;
  if (options.ShowBook) {
    const std::string& name = options.ShortNames ? book.ShortName : book.Name;
    if (!name.empty()) label += name + " ";
  }
  if (options.ShowChapter) {
    label += std::to_string(chapter);
    if (options.ShowVerse) label += ":";
  }
  if (options.ShowVerse) label += std::to_string(verse) + " ";
  return label;
}

namespace {

// Adds the length of plain bytes, a CR LF pair or a lone CR or LF counting as one line break.
int32_t BytesLength(const std::string& s, size_t from, size_t to) {
  int32_t n = 0;
  for (size_t i = from; i < to; ++i) {
    if (s[i] == '\r') {
      if (i + 1 < to && s[i + 1] == '\n') ++i;
      n += 2;
    } else if (s[i] == '\n') {
      n += 2;
    } else {
      ++n;
    }
  }
  return n;
}

}  // namespace

int32_t PlainTextLength(const std::string& bytes) { return BytesLength(bytes, 0, bytes.size()); }

int32_t MarkupTextLength(const std::string& body, bool blankAfterItalic) {
  int32_t n = 0;
  bool italic = false;
  size_t start = 0;
  for (size_t i = 0; i <= body.size(); ++i) {
    if (i < body.size() && body[i] != '~' && body[i] != '|') continue;
    n += BytesLength(body, start, i);
    if (i < body.size()) {
      if (body[i] == '~') {
        n += 2;
        italic = false;  // every line piece starts regular
      } else {
        if (italic && blankAfterItalic) ++n;
        italic = !italic;
      }
    }
    start = i + 1;
  }
  return n;
}

bool BuildChapterText(const TBible& bible, int slot, int chapter, const TChapterOptions& options,
                      TChapterText& out) {
  out = TChapterText();
  if (slot < 1 || slot > MaxBooks) return false;
  const TBook& book = *bible.Books[size_t(slot)];
  if (chapter < 1 || chapter > int(book.Chapters.size())) return false;
  const int verses = book.Chapters[size_t(chapter - 1)];
  const bool paragraphs =
      bible.VersionIndex < VersionTableSize && VersionParagraphMarks[bible.VersionIndex];
  const bool greek = bible.VersionIndex == 9;
  const std::string separator = paragraphs ? "   " : "\r\n";

  out.Heading = ChapterHeading(bible, slot) + std::to_string(chapter);
  if (slot != 22) out.Heading = book.Title + out.Heading;
  // The Greek version's book names are Cyrillic.
  out.HeadingCharset = greek ? RUSSIAN_CHARSET : options.FontCharset;
  int32_t length = PlainTextLength(out.Heading) + 2;

  out.Verses.resize(size_t(verses));
  out.VerseStart.assign(size_t(verses) + 2, 0);
  // The chapter's verses in one read of the text pair.
  std::vector<std::string> texts =
      ReadVerses(bible, VerseNumber(bible, bible.BookPosition[size_t(slot)], chapter, 1), verses);
  for (int k = 1; k <= verses; ++k) {
    out.VerseStart[size_t(k)] = length + 2;
    TChapterPiece& piece = out.Verses[size_t(k - 1)];
    piece.Title = separator + VerseLabel(book, chapter, k, options.View);
    piece.Body = std::move(texts[size_t(k - 1)]);
    if (!options.ShowFootnotes) StripFootnotes(piece.Body);
    if (paragraphs && !piece.Body.empty() &&
        static_cast<unsigned char>(piece.Body[0]) == ParagraphMark) {
      piece.Body.erase(0, 1);
      piece.Title = "\r\n" + piece.Title;
    }
    piece.TitleCharset = greek ? RUSSIAN_CHARSET : options.FontCharset;
    piece.BodyCharset = options.FontCharset;
    length += PlainTextLength(piece.Title) + MarkupTextLength(piece.Body, options.BlankAfterItalic);
  }
  out.VerseStart[size_t(verses) + 1] = length + 2;
  out.Length = length;
  return true;
}

int VerseAt(const std::vector<int32_t>& verseStart, int32_t p, int maxVerse) {
  for (int n = 1; n <= maxVerse && size_t(n) + 1 < verseStart.size(); ++n)
    if (verseStart[size_t(n)] <= p && p < verseStart[size_t(n) + 1]) return n;
  return maxVerse + 1;
}

bool VerseRange(const std::vector<int32_t>& verseStart, int v, int32_t& start, int32_t& length) {
  start = 0;
  length = 0;
  if (v < 1 || size_t(v) + 1 >= verseStart.size()) return false;
  start = verseStart[size_t(v)];
  length = verseStart[size_t(v) + 1] - 2 - start;
  if (length < 0) length = 0;
  return true;
}

std::string ActiveVerseText(const std::string& text, const std::vector<int32_t>& verseStart,
                            int v) {
  int32_t start = 0, length = 0;
  if (!VerseRange(verseStart, v, start, length) || start < 0 || size_t(start) >= text.size())
    return {};
  return text.substr(size_t(start), size_t(length));
}

std::vector<std::pair<int32_t, int32_t>> FoundWordRanges(const std::string& text,
                                                         const std::vector<int32_t>& verseStart,
                                                         int v, const std::string* words,
                                                         int count, const TCharSet& letters) {
  std::vector<std::pair<int32_t, int32_t>> ranges;
  if (v < 1 || size_t(v) + 1 >= verseStart.size() || !words) return ranges;
  const int64_t size = int64_t(text.size());
  const int64_t from = verseStart[size_t(v)];
  const int64_t to = std::min<int64_t>(verseStart[size_t(v) + 1], size);
  if (from < 0 || from >= to) return ranges;
  // Only the verse's range and the byte on either side of it are ever compared.
  const int64_t lowFrom = from > 0 ? from - 1 : 0;
  const int64_t lowTo = std::min<int64_t>(to + 1, size);
  const std::string lower = AnsiLowerCase(std::string_view(text).substr(size_t(lowFrom),
                                                                         size_t(lowTo - lowFrom)));
  auto at = [&](int64_t i) { return static_cast<unsigned char>(lower[size_t(i - lowFrom)]); };
  for (int w = 0; w < count; ++w) {
    const std::string& word = words[w];
    const int64_t len = int64_t(word.size());
    if (len == 0) continue;
    for (int64_t t = from; t + len <= to; ++t) {
      if (lower.compare(size_t(t - lowFrom), size_t(len), word) != 0) continue;
      if (t > 0 && letters.test(at(t - 1))) continue;
      if (t + len < size && letters.test(at(t + len))) continue;
      ranges.emplace_back(int32_t(t), int32_t(len));
      break;
    }
  }
  return ranges;
}
