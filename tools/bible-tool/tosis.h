#pragma once
// OSIS XML Bibles: verses as containers (<verse osisID="Gen.1.1">...</verse>) or as milestones
// (<verse sID="..." osisID="Gen.1.1"/> ... <verse eID="..."/>, crossing <p> and <lg>). Each verse's
// markup goes through the converter that SWORD modules in OSIS go through (tmarkup.h), so that an
// OSIS file and the SWORD module made from it give the same version: notes become footnotes,
// transChange italics, divineName its text, Strong's numbers words for version 5 only; section
// titles, cross references and text outside verses are left out.
//
// The first verse of a list (osisID="Gen.1.1 Gen.1.2") or range holds the text; the translation's
// name is the work's title in the header, else osisText's osisIDWork.

#include <string>

#include "tools/bible-tool/tsourcebooks.h"

// Throws TInputError with file and line for tags that do not nest outside the verses, a file that
// ends early, one that is not OSIS and one without a verse with a book slot.
TSourceBible ReadOsis(const std::string& path, int versionIndex, TImportLog& log);
