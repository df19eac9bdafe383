#pragma once
// Zefania XML Bibles: BIBLEBOOK (bnumber, bname, bsname) > CHAPTER (cnumber) > VERS (vnumber).
//
// What the reader keeps of a verse's markup: NOTE becomes a footnote " {...}" (shown or hidden by
// the view, never in the concordance); STYLE in italics becomes the view's italics; BR breaks the
// line; gr (a Strong's number on its words) keeps the words, and for version 5 writes the number
// after them as a word (H430, G2316: Old Testament books Hebrew, the others Greek); other styles,
// sup and gram keep their text. Headings (CAPTION), cross references (XREF), prologues and
// remarks have no place in a verse and are left out (counted in the log's Omitted).
//
// Verses keep the file's numbering: a chapter has as many verses as its highest verse number, a
// number the file skips is an empty verse, a number given twice adds its text to the verse; a
// verse number outside 1..255 (the folder's limit) is left out and counted. Chapters likewise,
// a skipped chapter holding one empty verse. Books whose number has no slot are left out and
// named in the log.

#include <string>
#include <vector>

#include "tools/bible-tool/tsourcebooks.h"

struct TZefaniaResult {
  std::vector<TSourceBook> Books;    // in the order of their book numbers
  std::vector<std::string> Skipped;  // books without a slot: "bnumber bname"
  int64_t VersesOutOfRange = 0;
  std::string Name;  // INFORMATION's title, else the root's biblename; "" when neither is given
};

// Reads a Zefania file, or every *.xml file of a folder (a Bible split into one file per book).
// VERSION decides the Strong's numbers. Throws TInputError with file, line and column for XML that
// is not well formed or ends early, and for a file that is not a Zefania Bible.
TZefaniaResult ReadZefania(const std::string& path, int versionIndex, TImportLog& log);
