#pragma once
// The search session over the active version: each word of a search text is looked up in the word
// list, its verse set read from the concordance and limited to the book set, the words of one text
// intersected, and the result combined with the previous one by the mode. The session keeps the
// expression, the mode, the range, the result and the words to colour; the main window owns one
// for the whole run, shows Found and StatusText, and the Bible windows colour MarkWords.

#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/verselist.h"

enum class TSearchMode { Only, And, Or, Without };

// The words the Bible windows colour stop at this many; later ones are not coloured.
constexpr size_t MaxMarkWords = 30;

class TWordSearch {
 public:
  TWordSearch();

  VerseList Found;          // the current result; absent before any search formed a set
  VerseList PreviousFound;  // the second operand of the next combination
  VerseList PhraseFound;    // running intersection of the words of one text, during a search
  std::string SearchExpression;
  // The status bar's text: the expression, " | " and the count after a search with a result; kept
  // otherwise. The repeat guard reads it.
  std::string StatusText;
  TBookSet BookSet;  // all books at creation
  // The search range dialog's choice that gave BookSet: 0 all books, 1 the Old Testament, 2 the
  // New, 3 selected books.
  int RangeType = 0;
  TSearchMode Mode = TSearchMode::Only;
  // With Forms set, each word of a text stands for all its forms that the version's form groups
  // (core/formgroups.h) name; a version without them is searched exactly, and FormsMissing then
  // says so after the search. A word ending in "*" stands for every word it begins, either way.
  bool Forms = false;
  bool FormsMissing = false;
  // The words of the word list that the last text's words matched, as the list spells them; set
  // by every search that looked a word up. Expanded tells that some word matched by its forms or
  // as a prefix, so that the status tells how many forms were found.
  std::vector<std::string> MatchedForms;
  bool Expanded = false;
  // The words to colour: each word found, as the word list spells it, and each whole text in lower
  // case; a search in mode "само" starts them afresh.
  std::vector<std::string> MarkWords;

  // Runs the search of text (bytes in the version's code page) over the bible.
  // Returns false when the repeat guard found the same text just applied and nothing changed.
  bool SearchText(const TBible& bible, const std::string& text);
  void SetModeOnly() { Mode = TSearchMode::Only; }

 private:
  VerseList WordVerses(const TBible& bible, const std::string& word);
  VerseList TermVerses(const TBible& bible, const std::string& term);
  void AddMarkWord(const std::string& word);
};

// The words of a text: maximal runs of the letters, left to right.
std::vector<std::string> SplitWords(const std::string& text, const TCharSet& letters);
// The terms of a search text: its words, each with the "*" that directly follows it kept, which
// makes it a prefix.
std::vector<std::string> SplitTerms(const std::string& text, const TCharSet& letters);

// The range [First, Last) of the word list's indexes of the words that begin with prefix (letter
// case ignored); empty when none does or the word list cannot be read.
struct TWordRange {
  int32_t First = 0;
  int32_t Last = 0;
};
TWordRange PrefixRange(const TBible& bible, const std::string& prefix);

// True when the version's folder has form groups made for its word list.
bool HasFormGroups(const TBible& bible);

// The number of matched forms as the status shows it, in UTF-8: "1 форма", "4 форми".
std::string FormCountText(size_t forms);
// The status text (already decoded to UTF-8) with " (N форми)" before its last " | " when the
// search expanded a word into forms or a prefix; unchanged otherwise.
std::string StatusWithForms(const TWordSearch& search, const std::string& statusUtf8);

// The compact reference list of a verse set: " " before the first book and "; " before each
// later one, then the book's name (ShortName when shortNames), a blank, chapter ":" verse; within
// a chapter the verses follow after ",", a new chapter of the same book after ", " chapter ":".
std::string ReferenceList(const TBible& bible, const VerseList& verses, bool shortNames);
