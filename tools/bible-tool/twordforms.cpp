#include "tools/bible-tool/twordforms.h"

#include <hunspell/hunspell.hxx>
#include <libstemmer.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

#include "core/tfile.h"
#include "core/tinfofile.h"
#include "tools/bible-tool/tbytecodepage.h"

namespace {

// Debian's Bulgarian dictionary; its affix file declares UTF-8.
const char* const BulgarianAffixes = "/usr/share/hunspell/bg_BG.aff";
const char* const BulgarianWords = "/usr/share/hunspell/bg_BG.dic";

bool EndsWith(const std::u32string& s, size_t n, std::u32string_view tail) {
  return n >= tail.size() && std::u32string_view(s).substr(n - tail.size(), tail.size()) == tail;
}

size_t RemoveArticle(const std::u32string& s, size_t n) {
  if (n > 6 && EndsWith(s, n, U"ият")) return n - 3;
  if (n > 5) {
    for (std::u32string_view a : {U"ът", U"то", U"те", U"та", U"ия"})
      if (EndsWith(s, n, a)) return n - 2;
  }
  if (n > 4 && EndsWith(s, n, U"ят")) return n - 2;
  return n;
}

size_t RemovePlural(std::u32string& s, size_t n) {
  if (n > 6) {
    if (EndsWith(s, n, U"овци")) return n - 3;  // keeps the "о" of the stem
    if (EndsWith(s, n, U"ове")) return n - 3;
    if (EndsWith(s, n, U"еве")) {
      s[n - 3] = U'й';
      return n - 2;
    }
  }
  if (n > 5) {
    if (EndsWith(s, n, U"ища")) return n - 3;
    if (EndsWith(s, n, U"та")) return n - 2;
    if (EndsWith(s, n, U"ци")) {
      s[n - 2] = U'к';
      return n - 1;
    }
    if (EndsWith(s, n, U"зи")) {
      s[n - 2] = U'г';
      return n - 1;
    }
    if (s[n - 3] == U'е' && s[n - 1] == U'и') {
      s[n - 3] = U'я';
      return n - 1;
    }
  }
  if (n > 4) {
    if (EndsWith(s, n, U"си")) {
      s[n - 2] = U'х';
      return n - 1;
    }
    if (EndsWith(s, n, U"и")) return n - 1;
  }
  return n;
}

// A Snowball stemmer over UTF-8; the stemmer's result is valid until its next call.
class TSnowball {
 public:
  explicit TSnowball(const char* language) : Stemmer(sb_stemmer_new(language, "UTF_8")) {
    if (!Stemmer) throw std::runtime_error(std::string("no Snowball stemmer for ") + language);
  }
  ~TSnowball() { sb_stemmer_delete(Stemmer); }
  TSnowball(const TSnowball&) = delete;
  TSnowball& operator=(const TSnowball&) = delete;
  std::string Stem(const std::string& word) {
    const sb_symbol* out =
        sb_stemmer_stem(Stemmer, reinterpret_cast<const sb_symbol*>(word.data()), int(word.size()));
    if (!out) throw std::runtime_error("the stemmer ran out of memory");
    return std::string(reinterpret_cast<const char*>(out), size_t(sb_stemmer_length(Stemmer)));
  }

 private:
  sb_stemmer* Stemmer;
};

std::vector<std::string> BulgarianKeys(const std::vector<std::string>& utf8) {
  std::vector<std::vector<std::string>> stems(utf8.size());
  std::map<std::string, int> shared;  // how many words of the version each lemma stands for
  // Without the dictionary every word is grouped by its light stem alone.
  if (FileExists(BulgarianAffixes) && FileExists(BulgarianWords)) {
    Hunspell dictionary(BulgarianAffixes, BulgarianWords);
    for (size_t i = 0; i < utf8.size(); ++i) {
      stems[i] = dictionary.stem(utf8[i]);
      for (const std::string& s : stems[i]) ++shared[s];
    }
  } else {
    std::fprintf(stderr, "bible-tool: %s is missing (hunspell-bg); forms by the light stemmer only\n",
                 BulgarianWords);
  }
  std::vector<std::string> keys(utf8.size());
  // Of several lemmas ("духа": "духам", "дух", "дуя") the one most words of the version share.
  std::map<std::u32string, std::string> lemmaOfStem;  // empty value: two lemmas share the stem
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (stems[i].empty()) continue;
    const std::string* best = &stems[i][0];
    for (const std::string& s : stems[i])
      if (shared[s] > shared[*best]) best = &s;
    keys[i] = *best;
    auto [at, added] = lemmaOfStem.emplace(BulgarianLightStem(Utf8ToUtf32(*best)), *best);
    if (!added && at->second != *best) at->second.clear();
  }
  // A word the dictionary lacks joins the lemma with its light stem, else the others with it.
  for (size_t i = 0; i < utf8.size(); ++i) {
    if (!stems[i].empty()) continue;
    const std::u32string stem = BulgarianLightStem(Utf8ToUtf32(utf8[i]));
    auto lemma = lemmaOfStem.find(stem);
    keys[i] = lemma != lemmaOfStem.end() && !lemma->second.empty() ? lemma->second
                                                                     : "~" + Utf32ToUtf8(stem);
  }
  return keys;
}

std::vector<std::string> SnowballKeys(const std::vector<std::string>& utf8, const char* language) {
  TSnowball stemmer(language);
  std::vector<std::string> keys(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) keys[i] = stemmer.Stem(utf8[i]);
  return keys;
}

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && std::string_view(s).substr(s.size() - tail.size()) == tail;
}

// The stemmer also strips derivations ("lovely", "holiness"); only what differs from the stem by
// an inflection is kept with it: a plural, a past, a participle, an "-e" or "-y" of the stem.
bool InflectionOf(const std::string& word, const std::string& stem) {
  size_t common = 0;
  while (common < word.size() && common < stem.size() && word[common] == stem[common]) ++common;
  std::string tail = word.substr(common);
  if (common > 0 && tail.size() >= 2 && tail[0] == word[common - 1]) tail.erase(0, 1);  // "running"
  static const std::set<std::string> inflections = {"",    "s",   "es",  "ed",   "d",   "ing",
                                                   "ings", "e",  "y",   "ies",  "ied", "ying"};
  return inflections.count(tail) > 0;
}

std::vector<std::string> EnglishKeys(const std::vector<std::string>& words) {
  TSnowball stemmer("english");
  auto stem = [&stemmer](const std::string& w) { return stemmer.Stem(w); };
  std::set<std::string> verbStems;
  for (const std::string& w : words)
    if (EndsWith(w, "ed") || EndsWith(w, "ing")) verbStems.insert(stemmer.Stem(w));
  auto isVerbStem = [&verbStems](const std::string& s) { return verbStems.count(s) > 0; };
  std::vector<std::string> keys(words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string folded = FoldArchaicEnglish(words[i], stem, isVerbStem);
    const std::string s = stemmer.Stem(folded);
    keys[i] = InflectionOf(folded, s) ? s : "=" + words[i];
  }
  return keys;
}

}  // namespace

std::u32string BulgarianLightStem(std::u32string s) {
  size_t n = s.size();
  if (n < 4) return s;
  if (n > 5 && EndsWith(s, n, U"ища")) return s.substr(0, n - 3);
  n = RemoveArticle(s, n);
  n = RemovePlural(s, n);
  if (n > 3) {
    const char32_t last = s[n - 1];
    if (last == U'я' || last == U'а' || last == U'о' || last == U'е') --n;
  }
  if (n > 4 && EndsWith(s, n, U"ен")) {
    s[n - 2] = U'н';
    --n;
  }
  if (n > 5 && s[n - 2] == U'ъ') {
    s[n - 2] = s[n - 1];
    --n;
  }
  return s.substr(0, n);
}

std::string FoldArchaicEnglish(const std::string& word,
                               const std::function<std::string(const std::string&)>& stem,
                               const std::function<bool(const std::string&)>& isVerbStem) {
  std::vector<std::string> candidates;
  if (word.size() > 6 && EndsWith(word, "edst")) {
    candidates.push_back(word.substr(0, word.size() - 2));  // "lovedst": "loved"
  } else if (word.size() >= 5 && (EndsWith(word, "eth") || EndsWith(word, "est"))) {
    const std::string base = word.substr(0, word.size() - 3);
    candidates = {base + "e", base};  // "loveth": "love"; "walketh": "walk"
    if (base.size() >= 2 && base.back() == base[base.size() - 2])
      candidates.push_back(base.substr(0, base.size() - 1));  // "biddeth": "bid"
  }
  for (const std::string& c : candidates)
    if (isVerbStem(stem(c))) return c;
  return word;
}

bool VersionHasForms(int versionIndex) { return versionIndex >= 0 && versionIndex <= 8; }

std::vector<std::string> FormKeys(const std::vector<std::string>& words, int versionIndex) {
  if (!VersionHasForms(versionIndex)) return std::vector<std::string>(words.size());
  const TByteCodePage codePage(VersionCodePage(versionIndex));
  std::vector<std::string> utf8;
  utf8.reserve(words.size());
  for (const std::string& w : words) utf8.push_back(codePage.Decode(w));
  if (versionIndex <= 2) return BulgarianKeys(utf8);
  if (versionIndex == 3) return SnowballKeys(utf8, "russian");
  if (versionIndex == 8) return SnowballKeys(utf8, "german");
  return EnglishKeys(utf8);
}

void WriteVersionForms(const std::string& folder, int versionIndex, int32_t stamp) {
  if (!VersionHasForms(versionIndex)) return;
  TInfoFile pair(folder + "WordPoint.bin", folder + "WordList.txt");
  std::vector<std::string> words;
  words.reserve(size_t(pair.Count()));
  for (int32_t i = 0; i < pair.Count(); ++i) words.push_back(pair.ReadLine(i));
  WriteFormGroups(folder, GroupWordsByKey(FormKeys(words, versionIndex), stamp));
}
