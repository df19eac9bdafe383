#pragma once
// The MorphGNT text files: one word a line, "BBCCVV part-of-speech parsing text word normalized
// lemma", blank-separated; BB counts the New Testament books from 01 (Matthew) to 27.

#include <string>
#include <utility>
#include <vector>


struct TMorphGntBook {
  int Slot = 0;                                        // book slot 51..77
  std::vector<std::vector<std::string>> Chapters;      // chapter -> verse -> text (UTF-8)
  // Each word of the book (the word column, without punctuation) with its lemma, UTF-8; lines
  // without the lemma column add none.
  std::vector<std::pair<std::string, std::string>> Lemmas;
};

// Reads every "*-morphgnt.txt" file of the folder, in file name order (the canonical order).
// Throws std::runtime_error with a message naming the file and line for unreadable input.
std::vector<TMorphGntBook> ReadMorphGnt(const std::string& folder);

// Parses the lines of one file into books (a file may hold several). Words of a verse are joined
// by blanks from the text column, which keeps the punctuation.
void ParseMorphGntLines(const std::string& content, const std::string& fileName,
                        std::vector<TMorphGntBook>& books);

// The slot of MorphGNT book number 1..27 (Matthew..Revelation); 0 outside.
int MorphGntBookSlot(int number);
