#include "core/dictionarywriter.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

#include "core/ansi.h"
#include "core/tfile.h"

namespace {

constexpr size_t MaxHeadword = 32;

struct TEntry {
  std::string Key;        // lower-cased headword
  int32_t Offset = 0;     // in X.ibf
  std::vector<uint16_t> Articles;
};

}  // namespace

void WriteDictionary(const std::string& baseName, const TDictionaryData& data) {
  if (data.Articles.size() > 65535) throw std::runtime_error("more than 65535 articles");
  std::vector<std::string> records;
  records.push_back(data.Title);
  for (const auto& article : data.Articles) records.push_back(article.Text);
  WriteRecordPair(baseName + ".ibp", baseName + ".ibf", records);

  // Offsets of the article records in X.ibf, as WriteRecordPair lays them out.
  std::vector<int64_t> recordStart(records.size());
  int64_t at = 0;
  for (size_t r = 0; r < records.size(); ++r) {
    recordStart[r] = at;
    at += 2 + int64_t(records[r].size());
  }

  std::map<std::string, size_t> byKey;
  std::vector<TEntry> entries;
  for (size_t a = 0; a < data.Articles.size(); ++a) {
    const auto& article = data.Articles[a];
    for (size_t offset : article.HeadwordOffsets) {
      size_t end = offset;
      while (end < article.Text.size() && end - offset < MaxHeadword &&
             data.Letters.test(static_cast<unsigned char>(article.Text[end])))
        ++end;
      if (end == offset) throw std::runtime_error("headword without letters in article " +
                                                  std::to_string(a + 1));
      const std::string key = AnsiLowerCase(article.Text.substr(offset, end - offset));
      auto [it, added] = byKey.emplace(key, entries.size());
      if (added) entries.push_back({key, int32_t(recordStart[a + 1] + 2 + int64_t(offset)), {}});
      auto& list = entries[it->second].Articles;
      if (list.empty() || list.back() != uint16_t(a + 1)) list.push_back(uint16_t(a + 1));
    }
  }
  std::sort(entries.begin(), entries.end(),
            [](const TEntry& x, const TEntry& y) { return CompareBytes(x.Key, y.Key) < 0; });

  std::string index(32, '\0');
  for (size_t b = 0; b < 256; ++b)
    if (data.Letters.test(b)) index[b / 8] = char(index[b / 8] | (1 << (b % 8)));
  std::vector<std::string> lists;
  for (const auto& entry : entries) {
    PutI32(index, entry.Offset);
    std::string block;
    PutU16(block, uint16_t(entry.Articles.size()));
    for (uint16_t a : entry.Articles) PutU16(block, a);
    lists.push_back(block);
  }
  std::ofstream out(baseName + ".ind", std::ios::binary | std::ios::trunc);
  out.write(index.data(), std::streamsize(index.size()));
  out.flush();
  if (!out) throw std::runtime_error("cannot write " + baseName + ".ind");
  WriteRecordPair(baseName + "C.ibp", baseName + "C.ibf", lists);
}
