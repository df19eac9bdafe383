#pragma once
// The place of a version nearest to a place asked for: a version may lack a book (the Greek New
// Testament has no Old Testament) or be asked for a chapter or verse past the end of a book.

class TBible;

// True when the version has the book (slot) and the chapter and verse lie within it.
bool HasPlace(const TBible& bible, int book, int chapter, int verse);

// Moves (book, chapter, verse) to the nearest place the version has: within a book it has, the
// chapter and verse are kept within the book; for a book it lacks, the start of the next book
// it has in the order of the slots, else the last verse of the last book before. False when
// the version has no book at all (the place is left as it was).
bool NearestPlace(const TBible& bible, int& book, int& chapter, int& verse);
