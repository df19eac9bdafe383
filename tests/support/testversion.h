#pragma once
// Small versions and dictionaries generated in temporary folders for tests and benchmarks.

#include <string>
#include <vector>

#include "core/dictionarywriter.h"
#include "core/tfile.h"  // ReadFileBytes
#include "core/versionwriter.h"

// A temporary folder removed with its contents when the object goes.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  // The folder with a trailing "/".
  const std::string& Path() const { return FPath; }
  std::string File(const std::string& name) const { return FPath + name; }

 private:
  std::string FPath;
};

// An English version of three books (Genesis, Psalms, John in slots 1, 22, 54) with a few
// chapters of invented text; verse texts name their place ("Gen 1:1 ...").
TVersionData EnglishSample();
// A Bulgarian version in windows-1251: Битие, Псалми, Йоан.
TVersionData BulgarianSample();
// A Greek New Testament in windows-1253: Ματθαῖον and Ἰωάννην as slots 51 and 54, with
// Bulgarian book names (windows-1251 bytes, as the book list of that version has them).
TVersionData GreekSample();
// A whole-Bible-sized version: about 31 000 verses over 66 books, about 13 000 distinct words;
// chapter 1 of the Psalms has 176 verses. Deterministic.
TVersionData LargeSample();

// Writes the version as version index v under root (root + the version's folder) and returns
// the folder path.
std::string WriteSampleVersion(const std::string& root, int versionIndex, const TVersionData& data);

// A small dictionary of three articles with windows-1251 headwords.
TDictionaryData SampleDictionary();

// UTF-8 -> windows-1253 for the Greek letters the samples use.
std::string Greek(const std::string& utf8);
