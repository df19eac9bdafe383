#include "core/dictionarychoice.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>

#include "core/ansi.h"
#include "core/eioerror.h"
#include "core/tindex.h"
#include "core/tfile.h"
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

namespace {

// Latin of the windows-1253 letters, lower case first; "" for a byte that is no letter. Accented
// letters read as their base letter.
const char* GreekLatin(unsigned char c) {
  static const char* const lower[25] = {"a", "b", "g", "d", "e", "z", "e", "th", "i",
                                        "k", "l", "m", "n", "x", "o", "p", "r", "s",
                                        "s", "t", "y", "ph", "ch", "ps", "o"};  // α .. ω
  if (c >= 0xE1 && c <= 0xF9) return lower[c - 0xE1];
  if (c >= 0xC1 && c <= 0xD9 && c != 0xD2) return lower[c - 0xC1];
  switch (c) {
    case 0xDC: case 0xA2: return "a";             // ά Ά
    case 0xDD: case 0xB8: return "e";             // έ Έ
    case 0xDE: case 0xB9: return "e";             // ή Ή
    case 0xDF: case 0xBA: case 0xFA: case 0xC0: case 0xDA: return "i";  // ί Ί ϊ ΐ Ϊ
    case 0xFC: case 0xBC: return "o";             // ό Ό
    case 0xFD: case 0xBE: case 0xFB: case 0xE0: case 0xDB: return "y";  // ύ Ύ ϋ ΰ Ϋ
    case 0xFE: case 0xBF: return "o";             // ώ Ώ
    default: return "";
  }
}

struct TLemmaTable {
  std::filesystem::file_time_type Time;
  std::map<std::string, std::string> Lemmas;
};

}  // namespace

std::string GreekHeadword(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size(); ++i) {
    std::string latin = GreekLatin((unsigned char)word[i]);
    if (latin.empty()) return {};
    const std::string next = i + 1 < word.size() ? GreekLatin((unsigned char)word[i + 1]) : "";
    // Gamma before a velar is the nasal; upsilon after a vowel closes a diphthong.
    if (latin == "g" && (next == "g" || next == "k" || next == "x" || next == "ch")) latin = "n";
    if (latin == "y" && !out.empty() && std::strchr("aeo", out.back())) latin = "u";
    out += latin;
  }
  return out;
}

std::string LemmaHeadword(const std::string& tablePath, const std::string& word) {
  static std::mutex guard;
  static std::map<std::string, TLemmaTable> tables;
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(tablePath, ec);
  if (ec || word.empty()) return {};
  std::lock_guard<std::mutex> lock(guard);
  TLemmaTable& table = tables[tablePath];
  if (table.Time != time || table.Lemmas.empty()) {
    table.Time = time;
    table.Lemmas.clear();
    const std::string bytes = ReadFileBytes(tablePath);
    size_t at = 0;
    while (at < bytes.size()) {
      size_t end = bytes.find('\n', at);
      if (end == std::string::npos) end = bytes.size();
      std::string line = bytes.substr(at, end - at);
      at = end + 1;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t tab = line.find('\t');
      if (tab == std::string::npos || tab == 0 || tab + 1 == line.size()) continue;
      table.Lemmas.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
  }
  auto it = table.Lemmas.find(AnsiLowerCase(word));
  if (it == table.Lemmas.end()) it = table.Lemmas.find(word);
  return it == table.Lemmas.end() ? std::string() : it->second;
}

std::vector<std::string> LookUpForms(const std::string& word, bool greek,
                                     const std::string& lemmaTable) {
  if (!greek) return {word};
  std::vector<std::string> forms;
  for (const std::string& form : {LemmaHeadword(lemmaTable, word), GreekHeadword(word)})
    if (!form.empty() && std::find(forms.begin(), forms.end(), form) == forms.end())
      forms.push_back(form);
  return forms;
}
