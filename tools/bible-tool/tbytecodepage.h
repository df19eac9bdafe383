#pragma once
// The single-byte code pages of stored text (windows-1250, -1251, -1252, -1253) over core's tables
// (core/codepage.h), for the reading commands: they convert only at the terminal's boundary and
// must start without loading ICU. The importer's TCodePage adds transliteration over the same
// tables.

#include <string>
#include <string_view>

#include "core/codepage.h"

class TByteCodePage {
 public:
  // "windows-1250", "windows-1251", "windows-1252" or "windows-1253"; throws std::runtime_error
  // for any other name.
  explicit TByteCodePage(std::string_view name);

  std::string Decode(std::string_view bytes) const;
  // A character the code page lacks is fitted as core/codepage.h says, else becomes "?": a
  // search for it then finds nothing.
  std::string Encode(std::string_view utf8) const;

 private:
  const TCodePageTable* Page;
};

// The code page of a version's text, from its font character set: windows-1250 for version 8,
// windows-1253 for version 9, windows-1251 for every other version.
std::string VersionCodePage(int versionIndex);
