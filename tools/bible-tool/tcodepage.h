#pragma once
// A single-byte code page for stored text: UTF-8 in, code page bytes out and back. Characters the
// code page lacks are transliterated with ICU (any script to Latin, then to ASCII); what even that
// cannot express is written as "<U+XXXX>", so nothing is ever dropped or turned into "?".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include <unicode/translit.h>

#include "tools/bible-tool/tbytecodepage.h"

class TCodePage {
 public:
  // An ICU converter name such as "windows-1251"; throws std::runtime_error when ICU lacks it.
  explicit TCodePage(const std::string& name);
  ~TCodePage();
  TCodePage(const TCodePage&) = delete;
  TCodePage& operator=(const TCodePage&) = delete;

  std::string Encode(std::string_view utf8);
  std::string Decode(std::string_view bytes) const;
  // True when every character of the text has a byte of its own in this code page.
  bool Representable(std::string_view utf8) const;

  const std::string& Name() const { return FName; }
  // Characters that had to be transliterated since creation, and those written as <U+XXXX>.
  int64_t Transliterated = 0;
  int64_t Unrepresentable = 0;

 private:
  std::string EncodeRun(const std::u32string& run);

  std::string FName;
  char32_t ToUnicode[256];
  std::unordered_map<char32_t, unsigned char> FromUnicode;
  std::unique_ptr<icu::Transliterator> ToLatin;
  bool ToLatinFailed = false;
};

// Canonical composition, so that a letter with its accent is one character.
std::string NormalizeNfc(std::string_view utf8);
