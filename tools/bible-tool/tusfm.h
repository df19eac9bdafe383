#pragma once
// USFM Bibles: a folder or ZIP with one file per book (\id gives the book by its three-letter
// code), \c chapters and \v verses. What the reader keeps: \p \m \q1 and the other paragraph and
// poetry markers break the line (a \p before a verse opens a paragraph there), \f...\f* and
// \fe...\fe* are footnotes " {...}" without their reference (\fr), \x...\x* cross references are
// dropped, \add (and \it) are italics, \wj \nd and the other character styles keep their text,
// \w word|strong="H1"\w* keeps the word and, for version 5, writes the number after it. Headings,
// titles, introductions and remarks are left out (counted). A verse range \v 1-2 puts the text on
// its first verse and leaves the others empty (counted). The book's names come from \toc2 (else
// \h) and \toc3; the translation's name from what follows the book code on the first \id line
// ("\id GEN World English Bible"), where there is any.

#include <string>
#include <vector>

#include "tools/bible-tool/tsourcebooks.h"

// Reads the files in the order given; SOURCE names them in messages. Throws TInputError when there
// is no file, for a \c before any \id, a \v before any \c, a \c or \v without a number, and
// when no book has a slot.
TSourceBible ReadUsfmFiles(const std::vector<std::string>& files, const std::string& source,
                           int versionIndex, TImportLog& log);

// The files a USFM folder holds: .usfm, .sfm, .ptx and .txt, in any case.
bool IsUsfmFile(const std::string& path);

// The OSIS name of a USFM book code ("GEN" -> "Gen"); "" for a code without one.
std::string OsisOfUsfmBook(const std::string& code);
