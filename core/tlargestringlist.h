#pragma once
// File-backed string lists that a list box shows without loading them whole.

#include <cstdint>
#include <memory>
#include <string>

#include "core/tbible.h"
#include "core/tinfofile.h"

class TLargeStringList {
 public:
  virtual ~TLargeStringList() = default;
  virtual int32_t GetCount() = 0;
  virtual std::string Get(int32_t index) = 0;
  virtual int32_t IndexOf(const std::string& s) = 0;
  virtual std::string GetWord(int32_t index) { return Get(index); }
};

// A version's word list: "word count" rows over WordList.txt / WordPoint.bin and the concordance.
class TLargeStringList2 : public TLargeStringList {
 public:
  explicit TLargeStringList2(const TBible* bible);
  void SetBible(const TBible* bible);
  int32_t GetCount() override;
  std::string Get(int32_t index) override;
  int32_t IndexOf(const std::string& s) override;
  std::string GetWord(int32_t index) override;

  const TBible* Bible = nullptr;  // not owned

 private:
  std::unique_ptr<TInfoFile> WordPair;
};
