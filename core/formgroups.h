#pragma once
// The form groups of a version: which words of its word list are forms of one another (one
// lemma or stem). The importer computes them and stores them in "Forms.bin" beside the word list
// (format: doc/formats.md, "Form groups"); the word search reads them when it searches all forms.

#include <cstdint>
#include <string>
#include <vector>

// Word indexes of one version grouped by form: each word belongs to at most one group.
struct TFormGroupData {
  int32_t Stamp = 0;                // the importer's stamp when the file was written
  int32_t WordCount = 0;            // entries of WordPoint.bin the groups were made for
  std::vector<int32_t> GroupOfWord;  // per word: its group, or -1 when it is its only form
  std::vector<std::vector<int32_t>> Groups;  // per group: its words, ascending
};

// Groups from one key per word (words with equal non-empty keys are forms of one another; an
// empty key keeps the word alone). Groups of a single word are not stored.
TFormGroupData GroupWordsByKey(const std::vector<std::string>& keys, int32_t stamp);

// Writes the groups as folder + "Forms.bin"; throws std::runtime_error when the write fails.
void WriteFormGroups(const std::string& folder, const TFormGroupData& data);

class TFormGroups {
 public:
  // Reads dataPath + "Forms.bin". Present() is false when the file is missing, damaged, or made
  // for another word list (its word count differs from wordCount): the search then stays exact.
  TFormGroups(const std::string& dataPath, int32_t wordCount);
  bool Present() const { return FPresent; }
  // The words that are forms of word (word itself included), ascending.
  std::vector<int32_t> FormsOf(int32_t word) const;

 private:
  bool FPresent = false;
  TFormGroupData Data;
};
