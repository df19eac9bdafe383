#pragma once
// The text of one chapter as a Bible window shows it: a bold heading line, then every verse as a
// bold label (with its separator in front) and the verse text in the view's markup. The window
// appends the pieces to its view; the verse start table and the found-word ranges are computed
// here so that they can be checked without a widget.
//
// Positions are 0-based offsets into the view's whole text, a line break counting as two
// characters (CR LF). For a chapter of N verses VerseStart[k], k = 1..N, is where verse k's label
// starts, VerseStart[N + 1] is the end marker (text length + 2) and VerseStart[0] is unused; the
// table always has exactly N + 2 entries, whatever N is.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/tbible.h"

// The four bytes of "ViewOptions", byte 0 the lowest; the default 0x00010000 shows only the verse
// number.
struct TViewOptions {
  bool ShowBook = false;
  bool ShowChapter = false;
  bool ShowVerse = true;
  bool ShortNames = false;
  static TViewOptions Unpack(int32_t packed);
  int32_t Pack() const;
};
constexpr int32_t DefaultViewOptions = 0x00010000;

// The byte that starts a new paragraph in a version with paragraph marks.
constexpr unsigned char ParagraphMark = 0xB6;

// Removes footnotes, the stretches from "{" to the next "}": the first one together with the blank
// in front of it (it is looked for as " {"), every later one as "{" alone. Without a " {" nothing
// is removed; a "{" without a later "}" ends the stripping.
void StripFootnotes(std::string& text);

// The label of a verse by the view options: book name and blank, chapter (":" when the verse
// number follows), verse number and blank.
std::string VerseLabel(const TBook& book, int chapter, int verse, const TViewOptions& options);

// The number of characters the view's text grows by when the body is appended in the markup: "~"
// becomes a line break (two characters), "|" disappears, and where blankAfterItalic is set every
// "|" that ends an italic run inserts one blank. A CR LF pair, or a CR or LF alone, is one break.
int32_t MarkupTextLength(const std::string& body, bool blankAfterItalic);
// Plain bytes (no markup), with the same rule for line breaks.
int32_t PlainTextLength(const std::string& bytes);

struct TChapterPiece {
  std::string Title;  // separator and label; shown bold
  std::string Body;   // the verse text in the markup
  int TitleCharset = DEFAULT_CHARSET;
  int BodyCharset = DEFAULT_CHARSET;
};

struct TChapterText {
  std::string Heading;  // without its line break
  int HeadingCharset = DEFAULT_CHARSET;
  std::vector<TChapterPiece> Verses;  // verse k at index k - 1
  std::vector<int32_t> VerseStart;    // N + 2 entries, see the header comment
  int32_t Length = 0;                 // text length after the last verse
  int VerseCount() const { return int(Verses.size()); }
};

struct TChapterOptions {
  TViewOptions View;
  bool ShowFootnotes = true;
  int FontCharset = DEFAULT_CHARSET;  // the character set of the view's font
  bool BlankAfterItalic = false;      // the view's font is "MS Sans Serif" or "MS Serif"
};

// Builds chapter c of the book at slot b; false (and out emptied) when that book has no chapter c.
// Reads each verse from the version's files, so it may raise the input/output error.
bool BuildChapterText(const TBible& bible, int slot, int chapter, const TChapterOptions& options,
                      TChapterText& out);

// The verse n with VerseStart[n] <= p < VerseStart[n + 1], trying n = 1..maxVerse; maxVerse + 1
// when none (a position in the heading).
int VerseAt(const std::vector<int32_t>& verseStart, int32_t p, int maxVerse);

// The range of verse v (label included, without the line break after it): from VerseStart[v] to
// VerseStart[v + 1] - 2. False for a verse outside the table.
bool VerseRange(const std::vector<int32_t>& verseStart, int v, int32_t& start, int32_t& length);
// The text of verse v's range, or "" outside the table.
std::string ActiveVerseText(const std::string& text, const std::vector<int32_t>& verseStart,
                            int v);

// The ranges (start, length) to colour in the found-word colour: for each of the first count
// words, its first whole-word occurrence inside verse v's range (from VerseStart[v] while the word
// ends by VerseStart[v + 1]), compared with the text lower-cased by the ANSI mapping. Whole word:
// the bytes before and after are not in letters, or the text starts or ends there.
std::vector<std::pair<int32_t, int32_t>> FoundWordRanges(const std::string& text,
                                                         const std::vector<int32_t>& verseStart,
                                                         int v, const std::string* words,
                                                         int count, const TCharSet& letters);
