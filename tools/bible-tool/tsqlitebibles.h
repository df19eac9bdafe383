#pragma once
// Bibles kept in SQLite databases, read through SQLite's C library.
//
// MyBible (NAME.SQLite3): info(name, value) with the "description"; books(book_number,
// short_name, long_name); verses(book_number, chapter, verse, text). Book numbers 10 (Genesis) to
// 460 (Malachi), 470 (Matthew) to 730 (Revelation) and the deuterocanonical ones between them.
// Tags: <S>n</S> and <m>..</m> (Strong's number and morphology of the word before: the number is
// kept for version 5, the morphology never), <i> and <e> italics, <J> the text, <n>..</n> a note,
// <f>..</f> a note marker whose note comes from NAME.commentaries.SQLite3 beside it (table
// commentaries(book_number, chapter_number_from, verse_number_from, marker, text)) and is dropped
// without it, <t> the text, <br/> and <pb/> a line break, <h>..</h> a heading (left out).
//
// e-Sword (NAME.bblx): Bible(Book, Chapter, Verse, Scripture) with book numbers 1..66 in the
// Protestant order and RTF fragments: \uN? escapes, \'hh bytes (windows-1252), \i and \b, \par
// and \line as line breaks, groups; a group holding only a Strong's number (H430, G2316) is kept
// for version 5, one holding a superscript number is left out. Details(Title, ...) names it. An
// encrypted module (a sqliteplus_license table, or its text stored as blobs) is refused.

#include <functional>
#include <string>

#include "tools/bible-tool/tsourcebooks.h"

// The slot of a MyBible book number; 0 for one without a slot.
int SlotOfMyBibleNumber(int number);

// Both throw TInputError for a file that is not an SQLite database, lacks the tables or columns
// above, is encrypted, or holds no verse of a book with a slot.
TSourceBible ReadMyBible(const std::string& path, int versionIndex, TImportLog& log);
TSourceBible ReadESword(const std::string& path, int versionIndex, TImportLog& log);

// One verse's markup in the view's (exposed for the fuzz targets): Strong's numbers as words
// when STRONGS; NOTES gives the note of a <f> marker ("" = none).
std::string ConvertMyBibleVerse(const std::string& text, bool strongs, bool newTestament,
                                const std::function<std::string(const std::string& marker)>& notes);
std::string ConvertESwordVerse(const std::string& rtf, bool strongs);
