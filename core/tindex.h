#pragma once
// A dictionary's headword index X.ind over its text X.ibf. Format: doc/formats.md, "Dictionary".

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/tbible.h"
#include "core/tfile.h"
#include "core/tlargestringlist.h"

class TIndex {
 public:
  TIndex(const std::string& indexFileName, const TCharSet& extraLetters,
         const std::string& dataFileName);

  TCharSet Letters;
  bool Failed = true;
  std::vector<int32_t> Pointers;

  int32_t Count() const { return int32_t(Pointers.size()); }
  // Headword of entry k: the run of letters at its offset, at most 32 bytes.
  std::string Word(int32_t k);
  bool Find(const std::string& s, int32_t& position);

 private:
  TFile DataFile;
};

class TLargeStringList1 : public TLargeStringList {
 public:
  // fileName with any extension: the index is name.ind, the text name.ibf.
  explicit TLargeStringList1(const std::string& fileName);
  int32_t GetCount() override;
  std::string Get(int32_t index) override;
  int32_t IndexOf(const std::string& s) override;
  TCharSet GetLetters() const { return Index->Letters; }

  std::unique_ptr<TIndex> Index;
};

// Replaces the extension of the file name (from the last "." of its last component).
std::string ChangeFileExt(const std::string& fileName, const std::string& ext);
