#pragma once
// The place that the navigation controls show and the Bible windows follow: the active version
// and a book slot, chapter and verse in it, with the rules that move it. The main window owns one;
// the controls, the verse history, the bookmarks, and references typed, copied or received from
// other programs all move the reader through it.

#include <string>

#include "core/historylist.h"

class TBible;

class TPlace {
 public:
  TBible* Bible = nullptr;  // the active version; none until the first Bible window is activated
  int Book = 1;             // a book slot; one the version lacks has no position
  int Chapter = 1;
  int Verse = 1;
  // The time stamp of the place in the verse history, the point "предишния стих" steps back
  // from. While FollowStamp is set, every place recorded moves it; a step back clears it once.
  TDateTime HistoryStamp = 0;
  bool FollowStamp = false;

  // The book's position in the version's book list; 0 without a version or for a book it lacks.
  int Position() const;
  // The book's chapter count and the chapter's verse count, at least 1: the highest chapter and
  // verse the place may name.
  int LastChapter() const;
  int LastVerse() const;
  // Chapter and verse brought within 1..LastChapter and 1..LastVerse.
  void Clamp();
  // The absolute verse number of the place (0 without a version).
  int VerseNumber() const;
  // The place of absolute verse n (clamped to the version); false, and the place unchanged,
  // when the version has no book for it.
  bool MoveToVerse(int n);
  // A reference in the active version's book names, with chapter and verse as the text gives them;
  // a text without a book name keeps the book. False, and the place unchanged, for a text that is
  // no reference.
  bool MoveToReference(const std::string& text);
  // Whether the text is a reference in the active version.
  bool IsReference(const std::string& text) const;
  // The absolute numbers of the verses before and after the place, across chapters and books;
  // the version's first and last verse have none and give themselves.
  int PreviousVerse() const;
  int NextVerse() const;
  // The place's reference in full book names: the text of its history entry and bookmarks.
  std::string Reference() const;
  // A history entry stamped now was made for the place.
  void StampHistory(TDateTime now);
  // The reader steps back to the history entry of that stamp: the entry it records does not move
  // the stamp, so that the next step goes further back.
  void StepBack(TDateTime stamp);
  // A bookmark on the verse just before the place moves on to it (stepping through a passage
  // drags the bookmark set on its first verse along): the first of the version's bookmarks that
  // names the verse before now names the place. Its index, -1 when none moved.
  int CarryBookmark();
};
