#include "core/wordsearch.h"

#include <algorithm>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/eioerror.h"
#include "core/formgroups.h"
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

std::vector<std::string> SplitTerms(const std::string& text, const TCharSet& letters) {
  std::vector<std::string> terms;
  std::string term;
  for (char c : text) {
    if (letters.test((unsigned char)c)) {
      term.push_back(c);
      continue;
    }
    if (!term.empty()) {
      if (c == '*') term.push_back(c);
      terms.push_back(std::move(term));
      term.clear();
    }
  }
  if (!term.empty()) terms.push_back(std::move(term));
  return terms;
}

TWordRange PrefixRange(const TBible& bible, const std::string& prefix) {
  if (bible.DataPath.empty() || prefix.empty()) return {};
  TInfoFile pair(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
  if (pair.Failed) return {};
  // The words that begin with the prefix lie from the prefix itself up to the least string that
  // sorts after all of them: the prefix with its last byte below 255 raised by one.
  std::string lower = AnsiLowerCase(prefix);
  const int32_t first = pair.FindLine(lower);
  while (!lower.empty() && (unsigned char)lower.back() == 0xFF) lower.pop_back();
  if (lower.empty()) return {first, pair.Count()};
  lower.back() = char((unsigned char)lower.back() + 1);
  const int32_t last = pair.FindLine(lower);
  return {first, std::max(first, last)};
}

bool HasFormGroups(const TBible& bible) {
  if (bible.DataPath.empty()) return false;
  TInfoFile pair(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
  return !pair.Failed && TFormGroups(bible.DataPath, pair.Count()).Present();
}

std::string FormCountText(size_t forms) {
  return std::to_string(forms) + (forms == 1 ? " форма" : " форми");
}

std::string StatusWithForms(const TWordSearch& search, const std::string& statusUtf8) {
  if (!search.Expanded) return statusUtf8;
  const size_t bar = statusUtf8.rfind(" | ");
  if (bar == std::string::npos) return statusUtf8;
  return statusUtf8.substr(0, bar) + " (" + FormCountText(search.MatchedForms.size()) + ")" +
         statusUtf8.substr(bar);
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
  MatchedForms.push_back(readBack);
  return verses;
}

// The verses of a term: of its word alone, of every form of it (Forms), or of every word it
// begins (a trailing "*"), within the book set.
VerseList TWordSearch::TermVerses(const TBible& bible, const std::string& term) {
  const bool prefix = !term.empty() && term.back() == '*';
  if (!prefix && !Forms) {
    return WordVerses(bible, term);
  }
  if (bible.DataPath.empty()) return NewVerseList();
  TInfoFile pair(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
  std::vector<int32_t> words;
  if (prefix) {
    const TWordRange range = PrefixRange(bible, term.substr(0, term.size() - 1));
    for (int32_t w = range.First; w < range.Last; ++w) words.push_back(w);
  } else {
    const int32_t line = pair.FindLine(term);
    if (line < 0 || line >= pair.Count() || AnsiLowerCase(pair.ReadLine(line)) != AnsiLowerCase(term))
      return NewVerseList();
    const TFormGroups groups(bible.DataPath, pair.Count());
    if (!groups.Present()) {
      FormsMissing = true;  // searched exactly, as without the option
      return WordVerses(bible, term);
    }
    words = groups.FormsOf(line);
  }
  Expanded = true;
  // One pass over the concordance with both files open; the sets are united in a table of all
  // verse numbers, so that a prefix of a thousand words costs one read each.
  TFile units, sets;
  if (words.empty() || !units.OpenRead(bible.DataPath + "ConcP.bin") ||
      !sets.OpenRead(bible.DataPath + "Conc.bin"))
    return NewVerseList();
  const int64_t unitCount = units.Size() / 4;
  std::vector<bool> present(65536, false);
  std::vector<unsigned char> buffer;
  for (int32_t w : words) {
    if (w >= unitCount) continue;  // no stored set: no verses
    unsigned char unit[4], head[2];
    units.Seek(int64_t(w) * 4);
    units.ReadExact(unit, 4);
    const int32_t offset = GetI32(unit);
    if (offset < 0) RaiseInOutError(ioReadBeyondEnd, sets.Path());
    sets.Seek(int64_t(offset) * 2);
    sets.ReadExact(head, 2);
    buffer.resize(size_t(GetU16(head)) * 2);
    sets.ReadExact(buffer.data(), buffer.size());
    if (buffer.empty()) continue;
    for (size_t k = 0; k < buffer.size(); k += 2) present[GetU16(&buffer[k])] = true;
    const std::string spelled = pair.ReadLine(w);
    MatchedForms.push_back(spelled);
    AddMarkWord(spelled);
  }
  std::vector<uint16_t> verses;
  for (size_t n = 1; n < present.size(); ++n)
    if (present[n]) verses.push_back(uint16_t(n));
  VerseList list = VerseList::FromVector(verses);
  FilterByBookSet(bible, list, BookSet);
  return list;
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
  MatchedForms.clear();
  Expanded = false;
  FormsMissing = false;

  for (const std::string& term : SplitTerms(text, bible.Letters)) {
    VerseList verses = TermVerses(bible, term);
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
