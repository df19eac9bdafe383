#pragma once
// Verse addressing, references, chapter headings, verse text and word list access over a loaded
// TBible. Positions, chapters and verses are 1-based; absolute verse numbers run 1..VerseCount.

#include <cstdint>
#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/verselist.h"

int VerseNumber(const TBible& bible, int position, int chapter, int verse);
// Out-of-range numbers are clamped to 1..VerseCount. A version without verses gives the first
// position (0 when there are no books), chapter 1, verse 1.
void LocateVerse(const TBible& bible, int n, int& position, int& chapter, int& verse);
std::string VerseReference(const TBible& bible, int n, bool shortName);
std::string ChapterHeading(const TBible& bible, int slot);
void NormalizeReference(std::string& s);
int FindBookName(const TBible& bible, std::string& s);
bool ParseReference(const TBible& bible, const std::string& text, int& position, int& chapter,
                    int& verse);

std::string ReadVerse(const TBible& bible, int n);
std::string ReadVerseAt(const TBible& bible, int position, int chapter, int verse);
// Verses first .. first + count - 1 with the text pair opened once, as ReadVerse reads each.
std::vector<std::string> ReadVerses(const TBible& bible, int first, int count);

std::string ReadWordLine(const TBible& bible, int32_t i);
VerseList LoadWordVerses(const TBible& bible, int32_t i);
