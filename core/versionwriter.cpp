#include "core/versionwriter.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>

#include "core/ansi.h"
#include "core/tfile.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.flush();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::vector<TWordEntry> CollectWords(const std::vector<std::string>& verseTexts,
                                     const TCharSet& letters) {
  std::map<std::string, std::vector<uint16_t>> words;
  for (size_t v = 0; v < verseTexts.size(); ++v) {
    const std::string& text = verseTexts[v];
    const uint16_t verse = uint16_t(v + 1);
    for (size_t i = 0; i < text.size();) {
      // A footnote, "{" to the next "}", is not the verse's text: its words find nothing.
      if (text[i] == '{') {
        const size_t close = text.find('}', i);
        if (close != std::string::npos) {
          i = close + 1;
          continue;
        }
      }
      if (!letters.test(static_cast<unsigned char>(text[i]))) {
        ++i;
        continue;
      }
      size_t j = i;
      while (j < text.size() && letters.test(static_cast<unsigned char>(text[j]))) ++j;
      auto& verses = words[AnsiLowerCase(std::string_view(text).substr(i, j - i))];
      if (verses.empty() || verses.back() != verse) verses.push_back(verse);
      i = j;
    }
  }
  std::vector<TWordEntry> out;
  out.reserve(words.size());
  for (auto& [word, verses] : words) out.push_back({word, std::move(verses)});
  // std::map orders by char, which is signed; the word list's order is unsigned bytes.
  std::sort(out.begin(), out.end(), [](const TWordEntry& a, const TWordEntry& b) {
    return CompareBytes(a.Word, b.Word) < 0;
  });
  return out;
}

void WriteRecordPair(const std::string& pointerFile, const std::string& dataFile,
                     const std::vector<std::string>& records) {
  std::string pointers, data;
  for (const auto& record : records) {
    if (record.size() > 65535) throw std::runtime_error("record longer than 65535 bytes");
    if (data.size() > size_t(INT32_MAX) - 65537) throw std::runtime_error("data file too large");
    PutI32(pointers, int32_t(data.size()));
    PutU16(data, uint16_t(record.size()));
    data += record;
  }
  WriteFile(pointerFile, pointers);
  WriteFile(dataFile, data);
}

void WriteVersionFolder(const std::string& folder, const TVersionData& data,
                        const TCharSet& letters) {
  if (data.Books.size() > size_t(MaxBooks)) throw std::runtime_error("more than 78 books");
  std::vector<bool> seen(MaxBooks + 1, false);
  std::vector<std::string> verses;
  for (const auto& book : data.Books) {
    if (book.Slot < 1 || book.Slot > MaxBooks || seen[book.Slot])
      throw std::runtime_error("book slot " + std::to_string(book.Slot) + " invalid or repeated");
    seen[book.Slot] = true;
    for (const auto& chapter : book.Chapters) {
      if (chapter.size() > 255) throw std::runtime_error("chapter with more than 255 verses");
      verses.insert(verses.end(), chapter.begin(), chapter.end());
    }
  }
  if (verses.size() > 65535) throw std::runtime_error("more than 65535 verses");
  std::filesystem::create_directories(folder);
  const std::string dir = folder.empty() || folder.back() == '/' ? folder : folder + "/";

  std::string titles = std::to_string(data.Books.size());
  // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) about " " + a string.
  for (const auto& book : data.Books) {
    titles += ' ';
    titles += std::to_string(book.Slot);
  }
  titles += "\r\n";
  for (const auto& book : data.Books) titles += book.Title + "\r\n";
  for (const auto& book : data.Books) titles += book.Name + "\r\n";
  for (const auto& book : data.Books) titles += book.ShortName + "\r\n";
  WriteFile(dir + "BibleTitles.txt", titles);

  std::string structure;
  for (const auto& book : data.Books) {
    structure += std::to_string(book.Chapters.size());
    for (const auto& chapter : book.Chapters) {
      structure += ' ';
      structure += std::to_string(chapter.size());
    }
    structure += "\r\n";
  }
  WriteFile(dir + "BibleStructure.csv", structure);

  WriteRecordPair(dir + "CompactPoint.bin", dir + "CompactText.bin", verses);

  const auto words = CollectWords(verses, letters);
  std::string list, wordPoint, conc, concPoint;
  for (const auto& entry : words) {
    PutI32(wordPoint, int32_t(list.size()));
    list += entry.Word + "\r\n";
    PutI32(concPoint, int32_t(conc.size() / 2));
    PutU16(conc, uint16_t(entry.Verses.size()));
    for (uint16_t v : entry.Verses) PutU16(conc, v);
  }
  WriteFile(dir + "WordList.txt", list);
  WriteFile(dir + "WordPoint.bin", wordPoint);
  WriteFile(dir + "Conc.bin", conc);
  WriteFile(dir + "ConcP.bin", concPoint);
}
