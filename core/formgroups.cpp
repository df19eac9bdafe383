#include "core/formgroups.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

#include "core/tfile.h"

namespace {

const char Magic[4] = {'F', 'R', 'M', '1'};

}  // namespace

TFormGroupData GroupWordsByKey(const std::vector<std::string>& keys, int32_t stamp) {
  TFormGroupData data;
  data.Stamp = stamp;
  data.WordCount = int32_t(keys.size());
  data.GroupOfWord.assign(keys.size(), -1);
  std::map<std::string, std::vector<int32_t>> byKey;
  for (size_t i = 0; i < keys.size(); ++i)
    if (!keys[i].empty()) byKey[keys[i]].push_back(int32_t(i));
  // Groups numbered in the order of their first word, so that the file does not depend on keys.
  std::vector<const std::vector<int32_t>*> ordered;
  for (const auto& entry : byKey)
    if (entry.second.size() > 1) ordered.push_back(&entry.second);
  std::sort(ordered.begin(), ordered.end(),
            [](const auto* a, const auto* b) { return a->front() < b->front(); });
  for (const auto* words : ordered) {
    for (int32_t w : *words) data.GroupOfWord[size_t(w)] = int32_t(data.Groups.size());
    data.Groups.push_back(*words);
  }
  return data;
}

void WriteFormGroups(const std::string& folder, const TFormGroupData& data) {
  std::string out(Magic, 4);
  PutI32(out, data.Stamp);
  PutI32(out, data.WordCount);
  PutI32(out, int32_t(data.Groups.size()));
  for (int32_t g : data.GroupOfWord) PutI32(out, g);
  int32_t start = 0;
  for (const auto& group : data.Groups) {
    PutI32(out, start);
    start += int32_t(group.size());
  }
  PutI32(out, start);
  for (const auto& group : data.Groups)
    for (int32_t w : group) PutI32(out, w);
  const std::string path = folder + "Forms.bin";
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), std::streamsize(out.size()));
  if (!file.flush()) throw std::runtime_error("cannot write " + path);
}

TFormGroups::TFormGroups(const std::string& dataPath, int32_t wordCount) {
  if (dataPath.empty()) return;
  const std::string bytes = ReadFileBytes(dataPath + "Forms.bin");
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  if (size < 16 || bytes.compare(0, 4, Magic, 4) != 0) return;
  const int32_t words = GetI32(p + 8), groups = GetI32(p + 12);
  if (words != wordCount || words < 0 || groups < 0) return;
  // Every length is checked against the bytes there before it is used.
  const size_t wordsEnd = 16 + size_t(words) * 4;
  const size_t startsEnd = wordsEnd + (size_t(groups) + 1) * 4;
  if (startsEnd > size) return;
  const int32_t members = GetI32(p + startsEnd - 4);
  if (members < 0 || startsEnd + size_t(members) * 4 != size) return;
  Data.Stamp = GetI32(p + 4);
  Data.WordCount = words;
  Data.GroupOfWord.resize(size_t(words));
  for (size_t i = 0; i < size_t(words); ++i) {
    const int32_t g = GetI32(p + 16 + 4 * i);
    if (g < -1 || g >= groups) return;
    Data.GroupOfWord[i] = g;
  }
  Data.Groups.resize(size_t(groups));
  for (size_t g = 0; g < size_t(groups); ++g) {
    const int32_t from = GetI32(p + wordsEnd + 4 * g), to = GetI32(p + wordsEnd + 4 * g + 4);
    if (from < 0 || to < from || to > members) return;
    for (int32_t k = from; k < to; ++k) {
      const int32_t w = GetI32(p + startsEnd + 4 * size_t(k));
      if (w < 0 || w >= words) return;
      Data.Groups[g].push_back(w);
    }
  }
  FPresent = true;
}

std::vector<int32_t> TFormGroups::FormsOf(int32_t word) const {
  if (!FPresent || word < 0 || word >= Data.WordCount || Data.GroupOfWord[size_t(word)] < 0)
    return {word};
  return Data.Groups[size_t(Data.GroupOfWord[size_t(word)])];
}
