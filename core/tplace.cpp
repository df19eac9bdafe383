#include "core/tplace.h"

#include <algorithm>

#include "core/bibleunit.h"
#include "core/tbible.h"

int TPlace::Position() const {
  if (!Bible || Book < 1 || Book > MaxBooks) return 0;
  return Bible->BookPosition[size_t(Book)];
}

int TPlace::LastChapter() const { return Bible ? std::max(1, Bible->ChapterCount(Position())) : 1; }

int TPlace::LastVerse() const {
  return Bible ? std::max(1, Bible->ChapterVerses(Position(), Chapter)) : 1;
}

void TPlace::Clamp() {
  Chapter = std::clamp(Chapter, 1, LastChapter());
  Verse = std::clamp(Verse, 1, LastVerse());
}

int TPlace::VerseNumber() const {
  return Bible ? ::VerseNumber(*Bible, Position(), Chapter, Verse) : 0;
}

bool TPlace::MoveToVerse(int n) {
  if (!Bible) return false;
  int position = 0, chapter = 1, verse = 1;
  LocateVerse(*Bible, n, position, chapter, verse);
  if (position < 1) return false;
  Book = Bible->BookOrder[size_t(position)];
  Chapter = chapter;
  Verse = verse;
  return true;
}

bool TPlace::MoveToReference(const std::string& text) {
  int position = 0, chapter = 1, verse = 1;
  if (!Bible || !ParseReference(*Bible, text, position, chapter, verse)) return false;
  if (position > 0) Book = Bible->BookOrder[size_t(std::min(position, MaxBooks))];
  Chapter = chapter;
  Verse = verse;
  return true;
}

bool TPlace::IsReference(const std::string& text) const {
  int position = 0, chapter = 0, verse = 0;
  return Bible && ParseReference(*Bible, text, position, chapter, verse);
}

int TPlace::PreviousVerse() const {
  const int n = VerseNumber();
  return n > 1 ? n - 1 : 1;
}

int TPlace::NextVerse() const {
  const int n = VerseNumber();
  return Bible && n < Bible->VerseCount ? n + 1 : n;
}

std::string TPlace::Reference() const {
  return Bible ? VerseReference(*Bible, VerseNumber(), false) : std::string();
}

void TPlace::StampHistory(TDateTime now) {
  if (FollowStamp) HistoryStamp = now;
  FollowStamp = true;
}

void TPlace::StepBack(TDateTime stamp) {
  FollowStamp = false;
  HistoryStamp = stamp;
}

int TPlace::CarryBookmark() {
  const int n = VerseNumber();
  if (!Bible || n <= 1) return -1;
  const std::string previous = VerseReference(*Bible, n - 1, false);
  auto& marks = Bible->BookMarks;
  const auto at = std::find(marks.begin(), marks.end(), previous);
  if (at == marks.end()) return -1;
  *at = Reference();
  return int(at - marks.begin());
}
