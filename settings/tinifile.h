#pragma once
// The private-profile layer: an ini-style file of "[section]" headers and "key=value" lines, read
// and written with the semantics of the Windows private-profile functions.
//
// - Section and key names compare without case (ASCII and windows-1251 letters, AnsiSameText);
//   names given by the caller and names in the file are trimmed of blanks first.
// - A value is trimmed, then one pair of matching surrounding quotes (' or ") is removed, then it
// is
//   cut to MaxValueLength bytes. ReadSection returns whole key names while they and one zero byte
//   after each fit in MaxSectionNamesBytes; further names are lost.
// - The first section of a name is the one read and written; keys are looked up in it only.
// - Nothing is cached: every call reads the whole file, and every change writes it anew, atomically
//   (a temporary file beside it, flushed to the disk, then renamed over it). A refused write raises
//   EIniFileException and leaves the old file as it was.
// - The file is bytes. Lines end with CR LF or LF on read and CR LF on write. Lines that are
// neither
//   a section header ("[" ... last "]") nor a key line (a "=" not in a comment starting with ";")
//   are kept as they are and match nothing, whatever bytes they hold. Lines before the first header
//   belong to no section.
// - What a key line can hold: a value or name written is cut at its first CR, LF or zero byte (the
//   API takes one C string for one line).

#include <cstddef>
#include <string>
#include <vector>

#include "core/tcustominifile.h"
#include "settings/einifileexception.h"

class TIniFile : public TCustomIniFile {
 public:
  static constexpr size_t MaxValueLength = 2047;
  static constexpr size_t MaxSectionNamesBytes = 16384;

  explicit TIniFile(const std::string& fileName);

  const std::string& FileName() const { return FFileName; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& section) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& key) override;

 private:
  std::string FFileName;
};

// Replaces the file's contents atomically: the data goes to a new file beside it, is flushed to the
// disk and renamed over the old one. Raises EIniFileException(fileName) when any step is refused;
// the old file is then untouched and the temporary file removed. Exposed for the tests.
void WriteFileAtomically(const std::string& fileName, const std::string& data);
