// Form groups made at import from Debian's dictionary (hunspell-bg) and stemmers (libstemmer),
// searched through the core: versions written from sentences of the test's own, each lemma's
// search compared with a scan of the verses for the forms it must find.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "core/cp1251.h"
#include "core/formgroups.h"
#include "core/wordsearch.h"
#include "tests/support/testversion.h"
#include "tools/bible-tool/tbytecodepage.h"
#include "tools/bible-tool/timportcommands.h"
#include "tools/bible-tool/twordforms.h"

namespace {

class WordFormsTest : public ::testing::Test {
 protected:
  void SetUp() override { DataRoot = Dir.Path(); }
  void TearDown() override { DataRoot.clear(); }

  // The sentences (UTF-8) as the verses of one book of version v, written by the importer.
  std::string Write(int v, const std::vector<std::string>& sentences) {
    const TByteCodePage cp(VersionCodePage(v));
    TVersionBook book{1, "Gen", "Gen", "Gen", {{}}};
    for (const std::string& s : sentences) book.Chapters[0].push_back(cp.Encode(s));
    TVersionData data;
    data.Books = {book};
    Version = v;
    Sentences = sentences;
    const std::string folder = Dir.Path() + VersionDiskFolder(v);
    WriteImportedVersion(folder, data, v);
    return folder;
  }

  // The verses that hold any of the words, by a scan of the sentences.
  std::set<uint16_t> Scan(const std::set<std::string>& words) const {
    const TByteCodePage cp(VersionCodePage(Version));
    std::set<uint16_t> out;
    for (size_t n = 0; n < Sentences.size(); ++n)
      for (const std::string& w : SplitWords(cp.Encode(Sentences[n]), VersionLetters(Version)))
        if (words.count(cp.Decode(AnsiLowerCase(w)))) out.insert(uint16_t(n + 1));
    return out;
  }

  // Searches the text (UTF-8) with all forms; Forms says which words it matched.
  std::set<uint16_t> Find(const std::string& text, bool forms = true,
                          TSearchMode mode = TSearchMode::Only) {
    const TByteCodePage cp(VersionCodePage(Version));
    TBible bible(Version);
    Search.Mode = mode;
    Search.Forms = forms;
    Search.SearchText(bible, cp.Encode(text));
    Forms.clear();
    for (const std::string& f : Search.MatchedForms) Forms.insert(cp.Decode(f));
    return std::set<uint16_t>(Search.Found.begin(), Search.Found.end());
  }

  // Each lemma's search finds exactly the verses of its forms, and names those forms.
  void ExpectGroups(const std::vector<std::pair<std::string, std::set<std::string>>>& groups) {
    for (const auto& [lemma, forms] : groups) {
      EXPECT_EQ(Find(lemma), Scan(forms)) << lemma;
      EXPECT_EQ(Forms, forms) << lemma;
    }
  }

  TTempDir Dir;
  int Version = 0;
  std::vector<std::string> Sentences;
  TWordSearch Search;
  std::set<std::string> Forms;
};

const std::vector<std::string> Bulgarian = {
    "Бог е любов.",
    "Любовта на Бога е вечна.",
    "Богат човек не влиза лесно.",
    "Човекът видя богатата земя.",
    "Богът на Израил даде земята.",
    "Любови и човеци, богове и земи.",
    "Любовите на човека към Израиля.",
    "Богатите нямат любов.",
};

}  // namespace

TEST_F(WordFormsTest, BulgarianLemmasFindTheirFormsAndNoWordThatOnlySharesLetters) {
  const std::string folder = Write(0, Bulgarian);
  ExpectGroups({{"любов", {"любов", "любовта", "любови", "любовите"}},
                {"Бог", {"бог", "бога", "богът", "богове"}},
                {"богатите", {"богат", "богатата", "богатите"}},
                {"човек", {"човек", "човекът", "човеци", "човека"}},
                {"земи", {"земя", "земята", "земи"}},
                // Not in the dictionary: joined by the light stemmer.
                {"израил", {"израил", "израиля"}}});
  EXPECT_EQ(StatusWithForms(Search, "израил | 2"), "израил (2 форми) | 2");
  // The modes combine the form sets as they combine words; a phrase is the forms of each word.
  Find("любов");
  EXPECT_EQ(Find("бог", true, TSearchMode::And), (std::set<uint16_t>{1, 2, 6}));
  EXPECT_EQ(Find("любов бог"), (std::set<uint16_t>{1, 2, 6}));
  Find("бог");
  EXPECT_EQ(Find("богат", true, TSearchMode::Without), (std::set<uint16_t>{1, 2, 5, 6}));
  // Exact search is as before; a prefix is every word it begins, in either setting.
  EXPECT_EQ(Find("любов", false), (std::set<uint16_t>{1, 8}));
  EXPECT_EQ(Search.StatusText, Utf8ToCp1251("любов | 2"));
  EXPECT_EQ(Find("бог*", false), Scan({"бог", "бога", "богът", "богове", "богат", "богатата", "богатите"}));
  EXPECT_EQ(Find("ЛЮБОВТ*"), (std::set<uint16_t>{2}));
  EXPECT_TRUE(Find("любовь*").empty());

  // Without its groups file the version is searched exactly, and the search says so.
  EXPECT_FALSE(Search.FormsMissing);
  const std::string forms = ReadFileBytes(folder + "Forms.bin");
  std::filesystem::remove(folder + "Forms.bin");
  EXPECT_EQ(Find("любов"), (std::set<uint16_t>{1, 8}));
  EXPECT_TRUE(Search.FormsMissing);
  EXPECT_FALSE(Search.Expanded);
  // So does a damaged file, cut anywhere, or one made for another word list.
  for (size_t cut = 0; cut < forms.size(); ++cut) {
    std::ofstream(folder + "Forms.bin", std::ios::binary | std::ios::trunc)
        .write(forms.data(), std::streamsize(cut));
    ASSERT_EQ(Find("любов"), (std::set<uint16_t>{1, 8})) << cut;
  }
  std::string stale = forms;
  stale[8] = char(stale[8] + 1);
  std::ofstream(folder + "Forms.bin", std::ios::binary | std::ios::trunc) << stale;
  EXPECT_EQ(Find("любов"), (std::set<uint16_t>{1, 8}));
  std::ofstream(folder + "Forms.bin", std::ios::binary | std::ios::trunc) << forms;
  EXPECT_EQ(Find("любов").size(), 5u);
}

TEST_F(WordFormsTest, RussianAndGermanByTheirStemmersGreekStaysExact) {
  Write(3, {"В начале было Слово, и Слово было у Бога.", "Земля же была безвидна и пуста.",
            "И назвал Бог сушу землею.", "Словом Господа сотворены небеса.",
            "Благослови, душа моя, Господа, и не забывай земли."});
  ExpectGroups({{"земля", {"земля", "землею", "земли"}}, {"словом", {"слово", "словом"}}});
  Write(8, {"Das Haus des Herrn.", "Im Hause meines Vaters.", "Die Häuser der Städte.",
            "Er baute ein Haus in der Stadt."});
  ExpectGroups({{"Haus", {"haus", "hause", "häuser"}}, {"stadt", {"stadt", "städte"}}});

  const std::string greek = Write(9, {"εν αρχη ην ο λογος", "και ο λογοσ ην"});
  EXPECT_FALSE(VersionHasForms(9));
  EXPECT_FALSE(std::filesystem::exists(greek + "Forms.bin"));
  EXPECT_EQ(Find("λογος"), (std::set<uint16_t>{1}));
  EXPECT_TRUE(Search.FormsMissing);
  EXPECT_EQ(Find("λογο*", false), (std::set<uint16_t>{1, 2}));
}

TEST(WordForms, ArchaicEnglishFoldsOnlyOntoAVerbOfTheVersion) {
  // The verbs of a version, as a stemmer that keeps every word would give them.
  const std::set<std::string> verbs = {"love", "loved", "walk", "go", "bid"};
  auto stem = [](const std::string& w) { return w; };
  auto isVerb = [&verbs](const std::string& s) { return verbs.count(s) > 0; };
  EXPECT_EQ(FoldArchaicEnglish("loveth", stem, isVerb), "love");
  EXPECT_EQ(FoldArchaicEnglish("lovest", stem, isVerb), "love");
  EXPECT_EQ(FoldArchaicEnglish("lovedst", stem, isVerb), "loved");
  EXPECT_EQ(FoldArchaicEnglish("walketh", stem, isVerb), "walk");
  EXPECT_EQ(FoldArchaicEnglish("goeth", stem, isVerb), "go");
  EXPECT_EQ(FoldArchaicEnglish("biddeth", stem, isVerb), "bid");
  // Words that merely end so stay themselves.
  for (const char* w : {"forest", "highest", "rest", "beast", "priest"})
    EXPECT_EQ(FoldArchaicEnglish(w, stem, isVerb), w);
}
