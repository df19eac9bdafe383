#pragma once
// A single-byte code page for stored text: UTF-8 in, code page bytes out and back. A character the
// code page lacks is first fitted as core/codepage.h says (the base letter without its marks, the
// monotonic Greek letter); what still does not fit is transliterated with ICU (any script to
// Latin, then to ASCII); what even that cannot express is written as "<U+XXXX>", so no letter is
// ever turned into "?".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <unicode/translit.h>

#include "tools/bible-tool/tbytecodepage.h"

class TCodePage {
 public:
  // "windows-1250", "-1251", "-1252" or "-1253"; throws std::runtime_error for another name.
  explicit TCodePage(const std::string& name);
  ~TCodePage();
  TCodePage(const TCodePage&) = delete;
  TCodePage& operator=(const TCodePage&) = delete;

  std::string Encode(std::string_view utf8);
  std::string Decode(std::string_view bytes) const;
  // True when every character of the text has a byte of its own in this code page.
  bool Representable(std::string_view utf8) const;

  const std::string& Name() const { return FName; }
  // Since creation: letters kept without their marks, marks dropped after a kept letter,
  // characters transliterated, and those written as <U+XXXX>.
  TFitCounts Fitted;
  int64_t Transliterated = 0;
  int64_t Unrepresentable = 0;

 private:
  std::string EncodeRun(const std::u32string& run);

  std::string FName;
  const TCodePageTable* Page;
  std::unique_ptr<icu::Transliterator> ToLatin;
  bool ToLatinFailed = false;
};

// Canonical composition, so that a letter with its accent is one character.
std::string NormalizeNfc(std::string_view utf8);
