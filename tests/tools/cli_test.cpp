// bible-tool as a process: output, exit status and the one-line errors, over generated versions.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/cp1251.h"
#include "tests/support/testversion.h"
#include "tools/bible-tool/twordforms.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

TRun RunTool(const std::vector<std::string>& args, const TTempDir& dir) {
  std::string command = Quote(BIBLE_TOOL_PATH);
  for (const auto& a : args) command += " " + Quote(a);
  command += " 2>" + Quote(dir.File("stderr.txt"));
  TRun r;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.Out.append(buf, n);
  int status = pclose(p);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.Err = ReadFileBytes(dir.File("stderr.txt"));
  return r;
}

int Lines(const std::string& s) { return int(std::count(s.begin(), s.end(), '\n')); }

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSampleVersion(Data.Path(), 4, EnglishSample());
    WriteSampleVersion(Data.Path(), 0, BulgarianSample());
  }
  TTempDir Data;
  TTempDir Scratch;
};

}  // namespace

TEST_F(CliTest, ReadsVersesChaptersWordsAndSearches) {
  TRun r = RunTool({"verse", Data.Path(), "4", "John 3:16"}, Scratch);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("John 3:16 For God so loved the world", 0), 0u) << r.Out;

  r = RunTool({"verse", Data.Path(), "0", "Йоан 3:16"}, Scratch);
  EXPECT_EQ(r.Out, "Йоан 3:16 Защото Бог толкова възлюби света, че даде Своя Единороден Син.\n");

  r = RunTool({"chapter", Data.Path(), "KJV", "Ps 2"}, Scratch);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("Psalm 2\n\n1 ", 0), 0u) << r.Out;
  EXPECT_EQ(Lines(r.Out), 2 + 12);

  r = RunTool({"words", Data.Path(), "kjv", "LO", "3"}, Scratch);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Lines(r.Out), 3);
  EXPECT_EQ(r.Out.rfind("lord ", 0), 0u) << r.Out;

  r = RunTool({"search", Data.Path(), "4", "God", "без", "world", "--books", "1,22"}, Scratch);
  EXPECT_EQ(r.Status, 0) << r.Err;
  ASSERT_GT(Lines(r.Out), 1);
  EXPECT_EQ(r.Out.rfind("God -(world) | " + std::to_string(Lines(r.Out) - 1) + "\n", 0), 0u)
      << r.Out;
  EXPECT_EQ(r.Out.find("John"), std::string::npos);

  r = RunTool({"search", Data.Path(), "0", "Бог", "и", "света"}, Scratch);
  EXPECT_EQ(r.Out.rfind("Бог + света | ", 0), 0u) << r.Out;

  // All forms where the version has its groups, the forms named before the verses; a prefix in
  // either setting; a version without groups searched exactly, and told so.
  WriteVersionForms(Data.Path() + "KJV/", 4, 3);
  r = RunTool({"search", Data.Path(), "4", "love", "--forms"}, Scratch);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out.rfind("love (2 форми) | ", 0), 0u) << r.Out;
  EXPECT_NE(r.Out.find("\nформи: love, loved\nGenesis 1:3\n"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("John 3:16\n"), std::string::npos) << r.Out;
  r = RunTool({"search", Data.Path(), "4", "LOV*"}, Scratch);
  EXPECT_EQ(r.Out.rfind("LOV* (2 форми) | ", 0), 0u) << r.Out;
  r = RunTool({"search", Data.Path(), "0", "Бог", "--forms"}, Scratch);
  EXPECT_EQ(r.Out.rfind("Бог | ", 0), 0u) << r.Out;
  EXPECT_NE(r.Err.find("has no form groups; searched exactly"), std::string::npos) << r.Err;
}

TEST_F(CliTest, ErrorsAreOneLineAndNonZero) {
  const std::vector<std::vector<std::string>> failing = {
      {"verse", Data.File("missing"), "4", "John 3:16"},
      {"verse", Data.Path(), "4", "no reference here"},
      {"verse", Data.Path(), "4", "John 9:1"},
      {"verse", Data.Path(), "4", "John 3:99"},
      {"verse", Data.Path(), "7", "John 3:16"},
      {"chapter", Data.Path(), "4", "xyz"},
      {"dict", Data.Path(), "word"},
      {"import-sword", "NoSuchModule", "4", Scratch.Path()},
      {"import-sword-dict", "NoSuchModule", Scratch.Path()},
      {"import-morphgnt", Data.File("missing"), Scratch.Path()},
  };
  for (const auto& args : failing) {
    TRun r = RunTool(args, Scratch);
    EXPECT_NE(r.Status, 0) << args[0] << " " << args.back();
    EXPECT_EQ(Lines(r.Err), 1) << r.Err;
    EXPECT_EQ(r.Err.rfind("bible-tool: ", 0), 0u) << r.Err;
  }
  // Wrong arguments are told with the usage after the message.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"verse", Data.Path()}, {"nonsense"}, {"search", Data.Path(), "4", "a", "maybe", "b"},
           {"search", Data.Path(), "4", "a", "--books", "0-5"}, {"words", Data.Path(), "4", "a", "x"},
           {"verse", Data.Path(), "11", "John 1:1"}}) {
    TRun r = RunTool(args, Scratch);
    EXPECT_EQ(r.Status, 2) << args[0];
    EXPECT_NE(r.Err.find("usage:"), std::string::npos);
  }
  // Input that names nothing usable is told in one line, without the usage, with status 2: on a
  // command line there is no current book to fall back on.
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"verse", Data.Path(), "4", "Xyz 3:16"}, {"chapter", Data.Path(), "KJV", "3"},
           {"verse", Data.Path(), "4", "John 3:99"}}) {
    TRun r = RunTool(args, Scratch);
    EXPECT_EQ(r.Status, 2) << args.back();
    EXPECT_EQ(r.Out, "") << args.back();
    EXPECT_EQ(r.Err.find("usage:"), std::string::npos);
  }
  EXPECT_NE(RunTool({"verse", Data.Path(), "4", "Xyz 3:16"}, Scratch).Err.find("no book"),
            std::string::npos);
  // A failed import leaves the data root as it was.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Scratch.Path()),
                          std::filesystem::directory_iterator()),
            1);  // only the captured stderr
}

TEST(ReplaceFolderTest, FailedWriteKeepsTheOldFolderAndLeavesNoTemporary) {
  TTempDir root;
  const std::string target = root.File("KJV");
  ReplaceFolderAtomically(target, [](const std::string& folder) {
    std::ofstream(folder + "a.txt") << "old";
  });
  EXPECT_THROW(ReplaceFolderAtomically(target,
                                       [](const std::string& folder) {
                                         std::ofstream(folder + "a.txt") << "half";
                                         throw std::runtime_error("disk full");
                                       }),
               std::runtime_error);
  EXPECT_EQ(ReadFileBytes(target + "/a.txt"), "old");
  ReplaceFolderAtomically(target + "/", [](const std::string& folder) {
    std::ofstream(folder + "b.txt") << "new";
  });
  EXPECT_TRUE(std::filesystem::exists(target + "/b.txt"));
  EXPECT_FALSE(std::filesystem::exists(target + "/a.txt"));
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(root.Path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(BookSetTest, ParsesNamedSetsAndLists) {
  TBookSet all = ParseBookSet("all");
  EXPECT_EQ(std::count(all.begin(), all.end(), 1), 78);
  TBookSet ot = ParseBookSet("ot");
  EXPECT_EQ(std::count(ot.begin(), ot.end(), 1), 50);
  EXPECT_EQ(ot[49], 1);
  EXPECT_EQ(ot[50], 0);
  TBookSet list = ParseBookSet("1,5-7,78");
  EXPECT_EQ(std::count(list.begin(), list.end(), 1), 5);
  EXPECT_EQ(list[4], 1);
  EXPECT_EQ(list[77], 1);
  for (const char* bad : {"", "0", "79", "5-3", "1,,2", "1;2", "a", "1-", "1000"})
    EXPECT_THROW(ParseBookSet(bad), TUsageError) << bad;
  EXPECT_EQ(ParseVersion("4"), 4);
  EXPECT_EQ(ParseVersion("kjvsn"), 5);
  EXPECT_EQ(ParseVersion("GR"), 9);
  EXPECT_THROW(ParseVersion("11"), TUsageError);
  EXPECT_THROW(ParseVersion(""), TUsageError);
}

// Without a data root an import goes to the user's own data folder, where the installed program
// finds it; no rights beyond the user's are needed.
TEST_F(CliTest, ImportsWithoutADataRootGoToTheUsersOwnDataFolder) {
  const std::string morphgnt = "/usr/share/bibledit/sources/morphgnt";
  if (!std::filesystem::is_directory(morphgnt)) GTEST_SKIP() << "bibledit-data is not installed";
  const std::string home = Scratch.File("home");
  std::filesystem::create_directories(home);
  auto import = [&](const std::string& environment) {
    TRun r;
    std::string command = "env -u XDG_DATA_HOME -u HOME " + environment + " " +
                          Quote(BIBLE_TOOL_PATH) + " import-morphgnt " + Quote(morphgnt) +
                          " 2>/dev/null";
    r.Status = WEXITSTATUS(std::system(command.c_str()));
    return r;
  };
  EXPECT_EQ(import("HOME=" + Quote(home)).Status, 0);
  EXPECT_TRUE(std::filesystem::exists(home + "/.local/share/bible/GR/BibleTitles.txt"));
  EXPECT_EQ(import("HOME=" + Quote(home) + " XDG_DATA_HOME=" + Quote(Scratch.File("xdg"))).Status,
            0);
  EXPECT_TRUE(std::filesystem::exists(Scratch.File("xdg/bible/GR/BibleTitles.txt")));
  // With neither a home nor a data folder there is nowhere to put it: a usage error.
  EXPECT_EQ(import("").Status, 2);
}

// The Greek New Testament imported from MorphGNT carries its word-to-lemma table, so that
// "dict" finds a Greek word in the Greek lexicon by its lemma or by its own letters.
TEST_F(CliTest, GreekWordsAreLookedUpByTheirLemmaAfterImportingMorphGnt) {
  const std::string morphgnt = "/usr/share/bibledit/sources/morphgnt";
  if (!std::filesystem::is_directory(morphgnt)) GTEST_SKIP() << "bibledit-data is not installed";
  ASSERT_EQ(RunTool({"import-morphgnt", morphgnt, Scratch.Path()}, Scratch).Status, 0);
  ASSERT_TRUE(std::filesystem::exists(Scratch.File("GR/Lemmas.txt")));
  TDictionaryData lexicon;
  lexicon.Title = "Greek lexicon";
  for (int c = 'a'; c <= 'z'; ++c) lexicon.Letters.set(size_t(c));
  lexicon.Articles = {{"agapao to love", {0}}, {"theos God", {0}}};
  std::filesystem::create_directories(Scratch.File("Dictionaries"));
  WriteDictionary(Scratch.File("Dictionaries/Greek"), lexicon);
  for (const auto& [word, article] : std::vector<std::pair<std::string, std::string>>{
           {"ηγαπησεν", "agapao to love"}, {"θεος", "theos God"}, {"θεου", "theos God"}}) {
    const TRun r = RunTool({"dict", Scratch.Path(), word}, Scratch);
    EXPECT_EQ(r.Status, 0) << word << r.Err;
    EXPECT_NE(r.Out.find(article), std::string::npos) << word << r.Out;
  }
  EXPECT_NE(RunTool({"dict", Scratch.Path(), "κοσμοσμος"}, Scratch).Status, 0);
}
