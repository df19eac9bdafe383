#include "core/dictionarychoice.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "core/ansi.h"
#include "core/eioerror.h"
#include "core/tindex.h"
#include "core/tinfofile.h"

namespace {

std::string WithoutExtension(const std::string& path) { return ChangeFileExt(path, ""); }

bool HasOnlyLetters(const std::string& text, const TCharSet& letters) {
  return std::all_of(text.begin(), text.end(),
                     [&](char c) { return letters.test((unsigned char)c); });
}

}  // namespace

std::string DictionaryTitle(const std::string& indexPath) {
  TInfoFile base(WithoutExtension(indexPath));
  return base.ReadRecord(0);
}

void TDictionaryChoice::LoadDictionaryList(const std::string& dictionaryFolder) {
  LoadDictionaryList(std::vector<std::string>{dictionaryFolder});
}

void TDictionaryChoice::LoadDictionaryList(const std::vector<std::string>& folders) {
  DictionaryList.clear();
  std::vector<std::string> paths;
  std::vector<std::string> names;
  for (const std::string& dictionaryFolder : folders) {
    const std::string folder = dictionaryFolder.empty() || dictionaryFolder.back() == '/'
                                   ? dictionaryFolder
                                   : dictionaryFolder + "/";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      std::string name = entry.path().filename().string();
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ind") == 0 &&
          std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
        paths.push_back(folder + name);
      }
    }
  }
  for (const std::string& path : paths) {
    // A dictionary whose title cannot be read is still listed, under its file name, so that
    // one damaged file neither hides the others nor stops the window that lists them.
    std::string title;
    try {
      title = DictionaryTitle(path);
    } catch (const EInOutError&) {
      title = std::filesystem::path(path).stem().string();
    }
    DictionaryList.emplace_back(title, path);
  }
  std::sort(DictionaryList.begin(), DictionaryList.end(), [](const auto& a, const auto& b) {
    return AnsiCompareText(a.first + "=" + a.second, b.first + "=" + b.second) < 0;
  });
}

bool TDictionaryChoice::FindDictionary(const std::string& word) {
  if (word.empty() || DictionaryList.empty()) return false;
  for (const auto& [title, path] : DictionaryList) {
    TIndex index(path, TCharSet(), ChangeFileExt(path, ".ibf"));
    int32_t position = 0;
    if (index.Find(word, position)) {
      CandidateDictionary = path;
      return true;
    }
    if (HasOnlyLetters(word, index.Letters)) CandidateDictionary = path;
  }
  return false;
}

VerseList ReadExplanations(const std::string& indexPath, int32_t entry) {
  TInfoFile lists(WithoutExtension(indexPath) + "C");
  std::vector<unsigned char> block = lists.ReadBlock(entry);
  // The block is a count and that many 16-bit numbers; a short block keeps what it holds.
  if (block.size() < 2) return {};
  uint16_t count = GetU16(block.data());
  size_t available = (block.size() - 2) / 2;
  if (count > available) count = uint16_t(available);
  VerseList list = VerseList::Allocate(count);
  for (size_t i = 0; i < count; ++i) list[i + 1] = GetU16(block.data() + 2 + 2 * i);
  return list;
}

std::string ReadArticle(const std::string& indexPath, int32_t record) {
  TInfoFile base(WithoutExtension(indexPath));
  return base.ReadRecord(record);
}

int ClampExplanationNumber(const VerseList& explanations, int number) {
  int count = explanations.Count();
  if (count == 0 || number < 1) return 1;
  return number > count ? count : number;
}
