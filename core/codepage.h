#pragma once
// The single-byte code pages of stored text (windows-1250, -1251, -1252, -1253): the one table of
// each that every conversion in the program uses, and the rule for a character a page lacks.
//
// A character the page lacks is fitted before it is given up: its monotonic Greek spelling (for
// a polytonic letter), else its base letter without the marks of its canonical decomposition
// ("ѝ" -> "и", "ἄ" -> "ά", "ő" -> "o" where the page lacks "ő"); a combining mark after a letter
// that was kept is dropped ("а" + U+0301 -> "а"). Only what still does not fit is handed on.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TCodePageTable {
 public:
  // "windows-1250", "windows-1251", "windows-1252" or "windows-1253"; nullptr for another name.
  static const TCodePageTable* Find(std::string_view name);

  const char* Name() const { return FName; }
  // The character of a byte. Bytes 0x80..0x9F without a character of their own stand for the C1
  // control of the same number; the two unassigned Greek places read as U+FFFD.
  char32_t Char(unsigned char byte) const {
    return byte < 0x80 ? char32_t(byte) : char32_t(FHigh[byte - 0x80]);
  }
  // The byte of a character, -1 when the page lacks it.
  int Byte(char32_t c) const;

  TCodePageTable(const char* name, const char16_t* high) : FName(name), FHigh(high) {}

 private:
  const char* FName;
  const char16_t* FHigh;  // the characters of bytes 0x80..0xFF
};

// How many characters the rule changed while fitting text to a page.
struct TFitCounts {
  int64_t LettersFitted = 0;  // letters written as their base or monotonic letter
  int64_t MarksDropped = 0;   // combining marks left out after a kept letter
};

// The letter the page has for a character it lacks (see above); 0 when there is none.
char32_t FittedLetter(char32_t c, const TCodePageTable& page);
// A combining mark (a non-spacing mark of the Unicode character database).
bool IsCombiningMark(char32_t c);

// Text in the page's bytes. Each run of characters that do not fit goes to LACKING, whose bytes
// stand for it; without LACKING each such character becomes "?".
std::string FitToCodePage(std::u32string_view text, const TCodePageTable& page, TFitCounts& counts,
                          const std::function<std::string(std::u32string_view run)>& lacking = {});
// The same for UTF-8 text with the page named; an unknown page gives every non-ASCII as "?".
std::string FitToCodePage(std::string_view utf8, std::string_view pageName);

// UTF-8 helpers; malformed bytes decode as U+FFFD.
std::u32string Utf8ToUtf32(std::string_view s);
std::string Utf32ToUtf8(std::u32string_view s);
// Appends one code point as UTF-8 (1 to 4 bytes); the caller passes a valid code point.
void AppendUtf8(std::string& out, char32_t c);
