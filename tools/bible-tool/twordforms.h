#pragma once
// The form groups of an imported version (core/formgroups.h): which words of its word list are
// forms of one another. Bulgarian (versions 0-2) by the lemmas of the Hunspell dictionary
// hunspell-bg, and for words it lacks a light suffix stemmer; Russian (3), English (4-7) and
// German (8) by the Snowball stemmers of libstemmer; the other versions have no groups.

#include <functional>
#include <string>
#include <vector>

#include "core/formgroups.h"

// True for the versions whose words are grouped by form.
bool VersionHasForms(int versionIndex);

// One key per word (bytes in the version's code page, lower-cased, as in WordList.txt): words
// with equal non-empty keys are forms of one another. All keys are empty for a version without
// forms. Throws std::runtime_error when the dictionary or stemmer cannot be loaded.
std::vector<std::string> FormKeys(const std::vector<std::string>& words, int versionIndex);

// Reads the word list of the version folder, groups it and writes folder + "Forms.bin"; nothing
// for a version without forms.
void WriteVersionForms(const std::string& folder, int versionIndex, int32_t stamp);

// The light Bulgarian stemmer (UTF-32, lower case): articles, plural endings and a final vowel
// removed, as in Savoy's published rules for Bulgarian.
std::u32string BulgarianLightStem(std::u32string word);

// An archaic English verb form folded to a form the stemmer knows: "loveth", "lovest" to "love",
// "lovedst" to "loved", when the version has the base as a verb (a form in "-ed" or "-ing" of the
// same stem, verbStems); any other word is returned as it is.
std::string FoldArchaicEnglish(const std::string& word,
                               const std::function<std::string(const std::string&)>& stem,
                               const std::function<bool(const std::string&)>& isVerbStem);
