#include "core/wordsearch.h"

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/tinfofile.h"

std::vector<std::string> SplitWords(const std::string& text, const TCharSet& letters) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text) {
    if (letters.test((unsigned char)c)) {
      word.push_back(c);
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

TWordSearch::TWordSearch() { BookSet.fill(1); }

void TWordSearch::AddMarkWord(const std::string& word) {
  if (MarkWords.size() < MaxMarkWords) MarkWords.push_back(word);
}

// The verses of one word within the book set: empty when the word list lacks the word exactly
// (the lower-bound search lands on the next word) or the concordance has no set for it.
VerseList TWordSearch::WordVerses(const TBible& bible, const std::string& word) {
  int32_t line = -1;
  if (!bible.DataPath.empty()) {
    TInfoFile pair(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
    line = pair.FindLine(word);
  }
  std::string readBack = line >= 0 ? ReadWordLine(bible, line) : std::string();
  if (line < 0 || AnsiLowerCase(readBack) != AnsiLowerCase(word)) return NewVerseList();
  VerseList verses = LoadWordVerses(bible, line);
  if (verses.Absent()) return NewVerseList();
  FilterByBookSet(bible, verses, BookSet);
  // A verse of a damaged version whose text cannot be read is no hit.
  if (!bible.UnreadableVerses.empty()) {
    std::vector<uint16_t> kept;
    for (uint16_t n : verses)
      if (!bible.Unreadable(n)) kept.push_back(n);
    verses = VerseList::FromVector(kept);
  }
  AddMarkWord(readBack);
  return verses;
}

bool TWordSearch::SearchText(const TBible& bible, const std::string& text) {
  // The same text applied again right away in a combining mode changes nothing. The expression
  // ends with the text, or with the text and the ")" that closes a "without" term.
  if (Mode != TSearchMode::Only && !text.empty()) {
    size_t at = StatusText.find(text);
    if (at != std::string::npos) {
      size_t end = at + text.size();
      if (end == SearchExpression.size() ||
          (end + 1 == SearchExpression.size() && SearchExpression.back() == ')' &&
           SearchExpression.compare(0, end, StatusText, 0, end) == 0))
        return false;
    }
  }
  if (Mode == TSearchMode::Only) {
    SearchExpression = text;
    MarkWords.clear();
  }
  PhraseFound.Reset();
  Found.Reset();

  for (const std::string& word : SplitWords(text, bible.Letters)) {
    VerseList verses = WordVerses(bible, word);
    if (PhraseFound.Present()) IntersectVerseLists(verses, PhraseFound);
    Found = std::move(verses);
    PhraseFound = CopyVerseList(Found);
    if (Found.Count() == 0) break;  // the remaining words cannot add a verse
  }

  // A text without a word forms no set; in a combining mode it counts as an empty one.
  if (Mode != TSearchMode::Only && Found.Absent()) Found = NewVerseList();
  switch (Mode) {
    case TSearchMode::And:
      SearchExpression += " + " + text;
      IntersectVerseLists(Found, PreviousFound);
      break;
    case TSearchMode::Or:
      SearchExpression += " / " + text;
      UniteVerseLists(Found, PreviousFound);
      break;
    case TSearchMode::Without:
      SearchExpression += " -(" + text + ")";
      SubtractVerseLists(Found, PreviousFound);
      break;
    case TSearchMode::Only:
      break;
  }
  AddMarkWord(AnsiLowerCase(text));
  PreviousFound = CopyVerseList(Found);
  if (Found.Present() && !SearchExpression.empty())
    StatusText = SearchExpression + " | " + std::to_string(Found.Count());
  return true;
}

std::string ReferenceList(const TBible& bible, const VerseList& verses, bool shortNames) {
  std::string out;
  int lastPosition = 0, lastChapter = 0;
  for (uint16_t n : verses) {
    int position = 0, chapter = 0, verse = 0;
    LocateVerse(bible, n, position, chapter, verse);
    if (position != lastPosition) {
      out += lastPosition == 0 && out.empty() ? " " : "; ";
      const TBook& book = bible.BookAt(position);
      out += (shortNames ? book.ShortName : book.Name) + " " + std::to_string(chapter) + ":";
    } else if (chapter == lastChapter) {
      out += ",";
    } else {
      out += ", " + std::to_string(chapter) + ":";
    }
    out += std::to_string(verse);
    lastPosition = position;
    lastChapter = chapter;
  }
  return out;
}
