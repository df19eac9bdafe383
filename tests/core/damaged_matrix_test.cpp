// The damaged-data matrix: every file of a version folder and of a dictionary, truncated at many
// points, with counts and offsets set to 0, -1 and huge values, with random bytes, or removed.
// Opening, navigating every chapter, reading the word list, searching and looking up words must
// give the empty result or the input/output error (EInOutError) -- never another exception, a crash
// or a hang -- and must write nothing into the data folder beyond the empty pair that an
// information base creates where one of its files is missing.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/bibleunit.h"
#include "core/chapterbuilder.h"
#include "core/cp1251.h"
#include "core/dictionarychoice.h"
#include "core/eioerror.h"
#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "core/tindex.h"
#include "core/tlargestringlist.h"
#include "core/wordsearch.h"
#include "tests/support/testversion.h"

namespace fs = std::filesystem;

namespace {

void Store(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// Every regular file of a folder (one level) with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder))
    if (e.is_regular_file()) files[e.path().filename().string()] = ReadFileBytes(e.path().string());
  return files;
}

int Raised = 0;  // input/output errors met so far

// Runs a read and accepts the input/output error; any other exception fails the test.
template <typename Fn>
void Guarded(Fn fn) {
  try {
    fn();
  } catch (const EInOutError&) {
    ++Raised;
  }
}

// --- The damage
// -----------------------------------------------------------------------------------

enum class TFileKind { Text, Lines, Pointers, Records, Sets, Index };

struct TDamage {
  std::string Name;
  std::string Bytes;
  bool Remove = false;
};

void PutLE(std::string& s, size_t at, uint32_t value, int width) {
  for (int i = 0; i < width && at + size_t(i) < s.size(); ++i)
    s[at + size_t(i)] = char((value >> (8 * i)) & 0xFF);
}

uint32_t GetLE(const std::string& s, size_t at, int width) {
  uint32_t v = 0;
  for (int i = 0; i < width && at + size_t(i) < s.size(); ++i)
    v |= uint32_t((unsigned char)s[at + size_t(i)]) << (8 * i);
  return v;
}

// Places of counts and offsets in a file: the positions every kind shares plus those its
// structure names (the first values of each 4-byte entry, the starts of records and sets).
std::vector<std::pair<size_t, int>> Fields(const std::string& bytes, TFileKind kind,
                                           const std::vector<size_t>& structural) {
  std::vector<std::pair<size_t, int>> fields;
  const size_t n = bytes.size();
  const int width = kind == TFileKind::Pointers || kind == TFileKind::Index ? 4 : 2;
  for (size_t at : {size_t(0), size_t(width), n / 2 / size_t(width) * size_t(width),
                    n >= size_t(width) ? n - size_t(width) : 0})
    fields.emplace_back(at, width);
  if (kind == TFileKind::Index) fields.emplace_back(32, 4);  // the first headword offset
  for (size_t at : structural) fields.emplace_back(at, kind == TFileKind::Pointers ? 4 : 2);
  return fields;
}

std::vector<TDamage> Damages(const std::string& original, TFileKind kind,
                             const std::vector<size_t>& structural, std::mt19937& random) {
  std::vector<TDamage> out;
  const size_t n = original.size();
  // Truncations: every prefix of a small file, many points of a larger one.
  std::vector<size_t> cuts;
  if (n <= 48) {
    for (size_t k = 0; k < n; ++k) cuts.push_back(k);
  } else {
    for (size_t k :
         {size_t(0), size_t(1), size_t(2), size_t(3), size_t(5), size_t(33), n - 1, n - 2, n - 3})
      cuts.push_back(k);
    for (int k = 1; k < 10; ++k) cuts.push_back(n * size_t(k) / 10);
  }
  for (size_t k : cuts) out.push_back({"truncated to " + std::to_string(k), original.substr(0, k)});

  if (kind == TFileKind::Text) {
    // Each of the first numbers (and the last) replaced by a hostile one.
    std::vector<std::pair<size_t, size_t>> tokens;
    for (size_t i = 0; i < n;) {
      if (original[i] >= '0' && original[i] <= '9') {
        size_t j = i;
        while (j < n && original[j] >= '0' && original[j] <= '9') ++j;
        tokens.emplace_back(i, j - i);
        i = j;
      } else {
        ++i;
      }
    }
    std::vector<size_t> chosen;
    for (size_t k = 0; k < tokens.size() && k < 6; ++k) chosen.push_back(k);
    if (tokens.size() > 6) chosen.push_back(tokens.size() - 1);
    for (size_t k : chosen)
      for (const char* value :
           {"0", "-1", "255", "256", "65535", "65536", "2147483647", "99999999999", "x"}) {
        std::string s = original;
        s.replace(tokens[k].first, tokens[k].second, value);
        out.push_back({"number " + std::to_string(k) + " = " + value, s});
      }
  } else if (kind == TFileKind::Lines) {
    std::vector<std::string> lines;  // the lines in reverse order: no longer sorted
    for (size_t start = 0; start < n;) {
      size_t end = original.find('\n', start);
      end = end == std::string::npos ? n : end + 1;
      lines.push_back(original.substr(start, end - start));
      start = end;
    }
    std::string reversed;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) reversed += *line;
    out.push_back({"lines reversed", reversed});
    out.push_back({"no line ends", std::string(n, 'a')});
    out.push_back({"CR only", std::string(n, '\r')});
  } else {
    for (auto [at, width] : Fields(original, kind, structural)) {
      if (at + size_t(width) > n) continue;
      const std::vector<uint32_t> values =
          width == 4 ? std::vector<uint32_t>{0,           0xFFFFFFFFu,     0x7FFFFFFFu, 0x80000000u,
                                             uint32_t(n), uint32_t(n) + 1, 0x00010000u}
                     : std::vector<uint32_t>{0, 0xFFFFu, 0x8000u, 0x7FFFu, 1};
      for (uint32_t v : values) {
        std::string s = original;
        PutLE(s, at, v, width);
        char name[64];
        std::snprintf(name, sizeof name, "%d bytes at %zu = 0x%X", width, at, v);
        out.push_back({name, s});
      }
    }
    if (kind == TFileKind::Index) {
      std::string none = original, all = original;
      for (size_t k = 0; k < 32 && k < n; ++k) {
        none[k] = 0;
        all[k] = char(0xFF);
      }
      out.push_back({"no letters", none});
      out.push_back({"every byte a letter", all});
    }
  }
  // Random bytes: the whole file, a few bytes of it, and a short random file.
  for (int round = 0; round < 3; ++round) {
    std::string s(n, '\0');
    for (char& c : s) c = char(random());
    out.push_back({"random bytes " + std::to_string(round), s});
    s = original;
    for (int k = 0; k < 8 && n > 0; ++k) s[random() % n] = char(random());
    out.push_back({"random changes " + std::to_string(round), s});
  }
  std::string shortRandom(1 + random() % 64, '\0');
  for (char& c : shortRandom) c = char(random());
  out.push_back({"short random file", shortRandom});
  out.push_back({"removed", "", true});
  return out;
}

// Runs every damage of every file against `exercise`, each on a fresh copy of the pristine folder.
// pairs: file name -> what TInfoFile writes when it creates that missing member of a pair.
void RunMatrix(const std::string& pristine, const std::string& work,
               const std::map<std::string, TFileKind>& files,
               const std::map<std::string, std::vector<size_t>>& structural,
               const std::map<std::string, std::string>& pairs,
               const std::function<void(const std::string& variant)>& exercise) {
  // The pristine folder reads without any error.
  fs::remove_all(work);
  fs::copy(pristine, work);
  Raised = 0;
  exercise("pristine");
  EXPECT_EQ(Raised, 0);
  EXPECT_EQ(Snapshot(work), Snapshot(pristine));

  std::mt19937 random(7);
  int variants = 0;
  for (const auto& [file, kind] : files) {
    const std::string original = ReadFileBytes(pristine + file);
    ASSERT_FALSE(original.empty()) << file;
    auto it = structural.find(file);
    for (const TDamage& damage : Damages(
             original, kind, it == structural.end() ? std::vector<size_t>{} : it->second, random)) {
      const std::string variant = file + ", " + damage.Name;
      SCOPED_TRACE(variant);
      fs::remove_all(work);
      fs::copy(pristine, work);
      if (damage.Remove)
        fs::remove(work + file);
      else
        Store(work + file, damage.Bytes);
      const auto before = Snapshot(work);
      const auto start = std::chrono::steady_clock::now();
      exercise(variant);
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      EXPECT_LT(seconds, 10.0) << "slow: " << variant;
      const auto after = Snapshot(work);
      for (const auto& [name, bytes] : before) {
        auto found = after.find(name);
        ASSERT_NE(found, after.end()) << name << " was removed";
        EXPECT_TRUE(found->second == bytes) << name << " was written";
      }
      for (const auto& [name, bytes] : after) {
        if (before.count(name)) continue;
        auto pair = pairs.find(name);
        EXPECT_TRUE(damage.Remove && name == file && pair != pairs.end() && bytes == pair->second)
            << "new file " << name;
      }
      ++variants;
    }
  }
  std::printf("%d damaged variants, %d input/output errors\n", variants, Raised);
}

// --- A version folder
// -----------------------------------------------------------------------------

constexpr int Version = 4;  // KJV/, Latin letters

void ExerciseVersion() {
  std::unique_ptr<TBible> bible;
  try {
    bible = std::make_unique<TBible>(Version);
  } catch (const EInOutError&) {
    ++Raised;
    return;  // a damaged BibleTitles.txt or BibleStructure.csv: opening raises the error
  }
  ASSERT_LE(bible->BookCount, MaxBooks);
  // Every chapter as a Bible window shows it, with every verse read.
  int n = 0;
  for (int p = 1; p <= bible->BookCount; ++p) {
    for (int c = 1; c <= bible->ChapterCount(p); ++c) {
      const int verses = bible->ChapterVerses(p, c);
      for (int v = 1; v <= verses; ++v) {
        int lp, lc, lv;
        LocateVerse(*bible, n + v, lp, lc, lv);
        EXPECT_TRUE(lp == p && lc == c && lv == v);
        Guarded([&] { ReadVerse(*bible, n + v); });
      }
      if (c <= 200 || verses > 0) {
        Guarded([&] {
          TChapterText text;
          BuildChapterText(*bible, bible->BookOrder[size_t(p)], c, TChapterOptions(), text);
        });
      }
      n += verses;
    }
  }
  EXPECT_EQ(n, bible->VerseCount);
  for (int x : {-1, 0, 1, 65535}) {
    int p, c, v;
    LocateVerse(*bible, x, p, c, v);
    VerseReference(*bible, x, false);
    Guarded([&] { ReadVerse(*bible, x); });
  }
  int p = 0, c = 0, v = 0;
  ParseReference(*bible, "John 3:16", p, c, v);
  ParseReference(*bible, "Ps 23", p, c, v);

  // The word list as the list box shows it, and the verse set of every word.
  TLargeStringList2 list(bible.get());
  int32_t count = 0;
  Guarded([&] { count = list.GetCount(); });
  for (int32_t i = -1; i <= count && i < 2000; ++i) {
    Guarded([&] { list.Get(i); });
    Guarded([&] { list.GetWord(i); });
    Guarded([&] { LoadWordVerses(*bible, i); });
  }
  for (const char* word : {"god", "In", "zzz", "", "the beginning"}) {
    Guarded([&] {
      const int32_t at = list.IndexOf(word);
      EXPECT_GE(at, 0);
      EXPECT_LE(at, count);
    });
  }
  // The word search in every mode.
  TWordSearch search;
  const std::pair<TSearchMode, const char*> steps[] = {
      {TSearchMode::Only, "God"},           {TSearchMode::And, "the"},
      {TSearchMode::Or, "beginning zzz"},   {TSearchMode::Without, "heaven"},
      {TSearchMode::Only, "the beginning"}, {TSearchMode::Or, "no such words"}};
  for (const auto& [mode, text] : steps) {
    search.Mode = mode;
    Guarded([&] { search.SearchText(*bible, text); });
    EXPECT_LE(search.MarkWords.size(), MaxMarkWords);
  }
}

class DamagedData : public ::testing::Test {
 protected:
  void SetUp() override { IniFile = nullptr; }
  void TearDown() override { DataRoot.clear(); }
  TTempDir Dir;
};

TEST_F(DamagedData, VersionFolder) {
  const std::string pristine = WriteSampleVersion(Dir.File("pristine/"), Version, EnglishSample());
  DataRoot = Dir.File("root/");
  const std::string work = DataRoot + VersionDiskFolder(Version);
  fs::create_directories(DataRoot);

  // Structural places: the pointer entries of each pair, the length of each record, the count of
  // each stored verse set.
  std::map<std::string, std::vector<size_t>> structural;
  const std::string point = ReadFileBytes(pristine + "CompactPoint.bin");
  const std::string concP = ReadFileBytes(pristine + "ConcP.bin");
  for (size_t at = 0; at + 4 <= point.size(); at += 4 * (point.size() / 4 / 6 + 1)) {
    structural["CompactPoint.bin"].push_back(at);
    structural["CompactText.bin"].push_back(GetLE(point, at, 4));
  }
  for (size_t at = 0; at + 4 <= concP.size(); at += 4 * (concP.size() / 4 / 6 + 1)) {
    structural["ConcP.bin"].push_back(at);
    structural["Conc.bin"].push_back(size_t(GetLE(concP, at, 4)) * 2);
  }
  const std::string emptyData("\x04\x00\xFF\xFF\xFF\xFF", 6);
  RunMatrix(pristine, work,
            {{"BibleTitles.txt", TFileKind::Text},
             {"BibleStructure.csv", TFileKind::Text},
             {"CompactPoint.bin", TFileKind::Pointers},
             {"CompactText.bin", TFileKind::Records},
             {"WordList.txt", TFileKind::Lines},
             {"WordPoint.bin", TFileKind::Pointers},
             {"ConcP.bin", TFileKind::Pointers},
             {"Conc.bin", TFileKind::Sets}},
            structural,
            {{"CompactPoint.bin", ""},
             {"CompactText.bin", emptyData},
             {"WordPoint.bin", ""},
             {"WordList.txt", emptyData}},
            [](const std::string&) { ExerciseVersion(); });
}

// --- A dictionary
// ---------------------------------------------------------------------------------

void ExerciseDictionary(const std::string& folder) {
  const std::string index = folder + "X.ind";
  TLargeStringList1 list(index);
  const int32_t count = list.GetCount();
  EXPECT_GE(count, 0);
  for (int32_t i = -1; i <= count && i < 2000; ++i) {
    Guarded([&] { EXPECT_LE(list.Get(i).size(), 32u); });
    Guarded([&] {
      VerseList articles = ReadExplanations(index, i);
      for (uint16_t a : articles) Guarded([&] { ReadArticle(index, a); });
      const int k = ClampExplanationNumber(articles, 5);
      EXPECT_GE(k, 1);
    });
  }
  Guarded([&] { DictionaryTitle(index); });
  TDictionaryChoice choice;
  Guarded([&] { choice.LoadDictionaryList(folder); });
  for (const std::string& word : {Utf8ToCp1251("авраам"), Utf8ToCp1251("Бабел"), std::string(),
                                  Utf8ToCp1251("яяяя"), std::string("latin")}) {
    Guarded([&] {
      const int32_t at = list.IndexOf(word);
      EXPECT_GE(at, 0);
      EXPECT_LE(at, count);
    });
    Guarded([&] { choice.FindDictionary(word); });
  }
}

TEST_F(DamagedData, Dictionary) {
  const std::string pristine = Dir.File("pristine/");
  fs::create_directories(pristine);
  WriteDictionary(pristine + "X", SampleDictionary());
  const std::string work = Dir.File("Dictionaries/");

  std::map<std::string, std::vector<size_t>> structural;
  const std::string ibp = ReadFileBytes(pristine + "X.ibp");
  const std::string cibp = ReadFileBytes(pristine + "XC.ibp");
  for (size_t at = 0; at + 4 <= ibp.size(); at += 4) {
    structural["X.ibp"].push_back(at);
    structural["X.ibf"].push_back(GetLE(ibp, at, 4));
  }
  for (size_t at = 0; at + 4 <= cibp.size(); at += 4) {
    structural["XC.ibp"].push_back(at);
    structural["XC.ibf"].push_back(GetLE(cibp, at, 4));      // record length
    structural["XC.ibf"].push_back(GetLE(cibp, at, 4) + 2);  // the list's count
  }
  const std::string emptyData("\x04\x00\xFF\xFF\xFF\xFF", 6);
  RunMatrix(pristine, work,
            {{"X.ind", TFileKind::Index},
             {"X.ibf", TFileKind::Records},
             {"X.ibp", TFileKind::Pointers},
             {"XC.ibf", TFileKind::Records},
             {"XC.ibp", TFileKind::Pointers}},
            structural,
            {{"X.ibp", ""}, {"X.ibf", emptyData}, {"XC.ibp", ""}, {"XC.ibf", emptyData}},
            [&](const std::string&) { ExerciseDictionary(work); });
}

}  // namespace
