#pragma once
// The dictionary window's choice of a dictionary and its reading of explanation lists and
// articles, kept free of widgets: the window owns one TDictionaryChoice and calls it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/verselist.h"

class TDictionaryChoice {
 public:
  // One line per dictionary: its title and the full path of its ".ind" file, sorted by
  // title + "=" + path without regard to letter case (so by title).
  std::vector<std::pair<std::string, std::string>> DictionaryList;
  // The ".ind" path chosen by the last FindDictionary; kept between calls.
  std::string CandidateDictionary;

  // Finds every "*.ind" file of the folder (which ends with "/"). A missing folder gives none; a
  // dictionary whose title record is damaged is listed under its file name.
  void LoadDictionaryList(const std::string& folder);
  // The same over several folders, the first first (the user's own before the installed ones,
  // core/datapaths.h DataFileFolders): a dictionary file name found again later is skipped.
  void LoadDictionaryList(const std::vector<std::string>& folders);
  // True when a dictionary holds the word; CandidateDictionary then names the first by title.
  // Otherwise CandidateDictionary is the last dictionary whose letters cover the word, or stays.
  bool FindDictionary(const std::string& word);
};

// Record 0 of the dictionary's text base: its title.
std::string DictionaryTitle(const std::string& indexPath);
// The explanation list of index entry i, from the base XC beside X.ind: the article numbers in
// the order offered; absent when the record is empty or missing. Element 0 is the count.
VerseList ReadExplanations(const std::string& indexPath, int32_t entry);
// Article record n of the dictionary's text base.
std::string ReadArticle(const std::string& indexPath, int32_t record);
// The explanation number brought into 1..count of the list (1 for an absent or empty list).
int ClampExplanationNumber(const VerseList& explanations, int number);

// The Latin headword of a word of the Greek version (windows-1253 bytes, accents ignored), written
// as the Greek lexicon writes its headwords: "θεος" gives "theos", "αγγελος" "angelos"; "" when
// the word holds a byte that is no Greek letter.
std::string GreekHeadword(const std::string& word);
// The headword of the word's lemma from a word-to-lemma table (Lemmas.txt, doc/formats.md); ""
// when the table lacks the word or cannot be read. The table is read once while it is unchanged.
std::string LemmaHeadword(const std::string& tablePath, const std::string& word);
// The words to look a marked word up by, in order and each once: for a word of the Greek version
// the headword of its lemma (from lemmaTable), then its own headword; for any other the word.
std::vector<std::string> LookUpForms(const std::string& word, bool greek,
                                     const std::string& lemmaTable);
