#include "core/nearestplace.h"

#include <algorithm>

#include "core/tbible.h"

namespace {

bool HasBook(const TBible& bible, int book) {
  return book >= 1 && book <= MaxBooks && bible.Books[size_t(book)] &&
         !bible.Books[size_t(book)]->Chapters.empty();
}

}  // namespace

bool HasPlace(const TBible& bible, int book, int chapter, int verse) {
  if (!HasBook(bible, book)) return false;
  const TBook& b = *bible.Books[size_t(book)];
  return chapter >= 1 && chapter <= int(b.Chapters.size()) && verse >= 1 &&
         verse <= int(b.Chapters[size_t(chapter - 1)]);
}

bool NearestPlace(const TBible& bible, int& book, int& chapter, int& verse) {
  if (!HasBook(bible, book)) {
    int next = 0;
    for (int slot = std::max(book + 1, 1); slot <= MaxBooks && !next; ++slot)
      if (HasBook(bible, slot)) next = slot;
    if (next) {
      book = next;
      chapter = 1;
      verse = 1;
    } else {
      int previous = 0;
      for (int slot = std::min(book - 1, MaxBooks); slot >= 1 && !previous; --slot)
        if (HasBook(bible, slot)) previous = slot;
      if (!previous) return false;
      book = previous;
      chapter = int(bible.Books[size_t(book)]->Chapters.size());
      verse = bible.Books[size_t(book)]->Chapters.back();
    }
  }
  const TBook& b = *bible.Books[size_t(book)];
  chapter = std::clamp(chapter, 1, int(b.Chapters.size()));
  verse = std::clamp(verse, 1, std::max(1, int(b.Chapters[size_t(chapter - 1)])));
  return true;
}
