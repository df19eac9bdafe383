#include "tests/support/testversion.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "core/cp1251.h"

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "bibletest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  FPath = pattern + "/";
}

TTempDir::~TTempDir() {
  std::error_code ec;
  // A test may have made the folder read-only; give the rights back before removing it.
  std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  for (auto& entry : std::filesystem::recursive_directory_iterator(FPath, ec))
    std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(FPath, ec);
}

namespace {

std::vector<std::string> Chapter(const std::string& book, int chapter, int verses,
                                 const std::vector<std::string>& words) {
  std::vector<std::string> out;
  for (int v = 1; v <= verses; ++v) {
    std::string text = book + " " + std::to_string(chapter) + ":" + std::to_string(v);
    for (size_t k = 0; k < 3; ++k) text += " " + words[(size_t(v) * 7 + k * 3 + size_t(chapter)) % words.size()];
    out.push_back(text);
  }
  return out;
}

}  // namespace

TVersionData EnglishSample() {
  const std::vector<std::string> words = {"In", "the", "beginning", "God", "created", "heaven",
                                          "and", "earth", "Lord", "shepherd", "love", "world"};
  TVersionData d;
  TVersionBook gen{1, "Genesis", "Genesis", "Gen", {}};
  gen.Chapters = {Chapter("Gen", 1, 31, words), Chapter("Gen", 2, 25, words),
                  Chapter("Gen", 3, 24, words)};
  gen.Chapters[0][0] = "In the beginning God created the heaven and the earth.";
  TVersionBook ps{22, "Psalms", "Psalms", "Ps", {}};
  ps.Chapters = {Chapter("Ps", 1, 6, words), Chapter("Ps", 2, 12, words),
                 Chapter("Ps", 3, 8, words)};
  ps.Chapters[0][0] = "Blessed is the man that walketh not in the counsel of the ungodly,";
  TVersionBook john{54, "John", "John", "Jn", {}};
  john.Chapters = {Chapter("Jn", 1, 51, words), Chapter("Jn", 2, 25, words),
                   Chapter("Jn", 3, 36, words)};
  john.Chapters[2][15] =
      "For God so loved the world, that he gave his only begotten Son, that whosoever believeth "
      "in him should not perish, but have everlasting life.";
  d.Books = {gen, ps, john};
  return d;
}

TVersionData BulgarianSample() {
  auto b = [](const char* s) { return Utf8ToCp1251(s); };
  const std::vector<std::string> words = {b("В"), b("начало"), b("Бог"), b("сътвори"),
                                          b("небето"), b("и"), b("земята"), b("Господ"),
                                          b("пастир"), b("любов"), b("света"), b("Слово")};
  TVersionData d;
  TVersionBook gen{1, b("Битие"), b("Битие"), b("Бит"), {}};
  gen.Chapters = {Chapter(b("Бит"), 1, 31, words), Chapter(b("Бит"), 2, 25, words)};
  gen.Chapters[0][0] = b("В началото Бог сътвори небето и земята.");
  TVersionBook ps{22, b("Псалми"), b("Псалми"), b("Пс"), {}};
  ps.Chapters = {Chapter(b("Пс"), 1, 6, words), Chapter(b("Пс"), 2, 12, words)};
  TVersionBook john{54, b("Евангелие от Йоан"), b("Йоан"), b("Йн"), {}};
  john.Chapters = {Chapter(b("Йн"), 1, 51, words), Chapter(b("Йн"), 2, 25, words),
                   Chapter(b("Йн"), 3, 36, words)};
  john.Chapters[2][15] = b("Защото Бог толкова възлюби света, че даде Своя Единороден Син.");
  d.Books = {gen, ps, john};
  return d;
}

std::string Greek(const std::string& utf8) {
  // windows-1253 places U+0391..U+03CE at 0xC1..0xFE (0xD2 unassigned).
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out.push_back(char(c));
      ++i;
      continue;
    }
    const uint32_t cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
    i += 2;
    out.push_back(cp >= 0x0391 && cp <= 0x03CE ? char(0xC1 + (cp - 0x0391)) : '?');
  }
  return out;
}

TVersionData GreekSample() {
  auto b = [](const char* s) { return Utf8ToCp1251(s); };
  const std::vector<std::string> words = {Greek("εν"), Greek("αρχη"), Greek("ην"),
                                          Greek("ο"), Greek("λογος"), Greek("και"),
                                          Greek("θεος"), Greek("κοσμος")};
  TVersionData d;
  TVersionBook matt{51, b("Евангелие от Матей"), b("Матей"), b("Мат"), {}};
  matt.Chapters = {Chapter(Greek("μθ"), 1, 25, words), Chapter(Greek("μθ"), 2, 23, words)};
  TVersionBook john{54, b("Евангелие от Йоан"), b("Йоан"), b("Йн"), {}};
  john.Chapters = {Chapter(Greek("ιω"), 1, 51, words)};
  john.Chapters[0][0] = Greek("εν αρχη ην ο λογος και ο λογος ην προς τον θεον");
  d.Books = {matt, john};
  return d;
}

TVersionData LargeSample() {
  std::mt19937 random(20261208);
  // 13 000 invented words of 3..10 letters, with a Zipf-like frequency.
  std::vector<std::string> vocabulary;
  std::uniform_int_distribution<int> letter('a', 'z'), length(3, 10);
  while (vocabulary.size() < 13000) {
    std::string w;
    const int n = length(random);
    for (int i = 0; i < n; ++i) w.push_back(char(letter(random)));
    vocabulary.push_back(w);
  }
  vocabulary[0] = "the";
  vocabulary[1] = "and";
  vocabulary[2] = "lord";
  vocabulary[3] = "god";
  std::vector<double> weights(vocabulary.size());
  for (size_t i = 0; i < weights.size(); ++i) weights[i] = 1.0 / double(i + 1);
  std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
  std::uniform_int_distribution<int> verseLength(8, 30);

  TVersionData d;
  const int chaptersPerBook = 18;  // 66 books x 18 chapters x ~26 verses is about 31 000 verses
  for (int b = 0; b < 66; ++b) {
    const uint16_t slot = uint16_t(b < 39 ? b + 1 : 51 + (b - 39));
    TVersionBook book{slot, "Book" + std::to_string(b + 1), "Book" + std::to_string(b + 1),
                      "B" + std::to_string(b + 1), {}};
    for (int c = 1; c <= chaptersPerBook; ++c) {
      const int verses = (slot == 22 && c == 1) ? 176 : 20 + (b * 7 + c * 3) % 13;
      std::vector<std::string> chapter;
      for (int v = 0; v < verses; ++v) {
        std::string text;
        const int n = verseLength(random);
        for (int k = 0; k < n; ++k) {
          if (k) text += ' ';
          text += vocabulary[pick(random)];
        }
        chapter.push_back(text + ".");
      }
      book.Chapters.push_back(std::move(chapter));
    }
    d.Books.push_back(std::move(book));
  }
  return d;
}

std::string WriteSampleVersion(const std::string& root, int versionIndex,
                               const TVersionData& data) {
  const std::string folder = root + VersionDiskFolder(versionIndex);
  WriteVersionFolder(folder, data, VersionLetters(versionIndex));
  return folder;
}

TDictionaryData SampleDictionary() {
  auto b = [](const char* s) { return Utf8ToCp1251(s); };
  TDictionaryData d;
  d.Title = b("Библейски речник");
  for (int c = 0xC0; c <= 0xFF; ++c) d.Letters.set(size_t(c));
  d.Articles.push_back({b("АВРААМ, праотец на евреите. Вж. Битие 12:1."), {0}});
  d.Articles.push_back({b("БЕТЛЕХЕМ - град в Юдея."), {0}});
  const std::string babylon = b("ВАВИЛОН (Бабел) - град; виж и Авраам.");
  d.Articles.push_back({babylon, {0, babylon.find(b("Бабел")), babylon.find(b("Авраам"))}});
  return d;
}
