#include "core/datapaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "core/tbible.h"
#include "core/tcustominifile.h"
#include "tests/support/testversion.h"
#include "tests/support/unprivileged.h"

namespace fs = std::filesystem;

namespace {

// An environment of given variables only, as a user's session would have them.
TGetEnv Env(std::map<std::string, std::string> vars) {
  auto shared = std::make_shared<std::map<std::string, std::string>>(std::move(vars));
  return [shared](const char* name) -> const char* {
    auto it = shared->find(name);
    return it == shared->end() ? nullptr : it->second.c_str();
  };
}

void Touch(const std::string& path) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path) << "x";
}

// A prefix with bin/ and share/bible/, and two users' home folders, in a temporary folder.
class InstalledPlaces : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Prefix() + "bin");
    fs::create_directories(Prefix() + "share/bible");
    fs::create_directories(Dir.File("ann"));
    fs::create_directories(Dir.File("bob"));
  }
  void TearDown() override {
    DataPlaces = TDataPlaces();
    DataRoot.clear();
    IniFile = nullptr;
    for (auto& b : Bibles) b.reset();
  }
  std::string Prefix() const { return Dir.File("usr/"); }
  std::string Shared() const { return Prefix() + "share/bible/"; }
  TDataPlaces Places(const std::string& home) const {
    return DataPlacesFor(Prefix() + "bin/bible", Env({{"HOME", Dir.File(home)}}));
  }
  // Makes the places of a user this run's places, as the program does at start.
  void RunAs(const std::string& home) {
    DataPlaces = Places(home);
    DataRoot = DataPlaces.Data;
  }
  TTempDir Dir;
};

}  // namespace

TEST(PortablePlaces, EverythingLiesBesideTheExecutable) {
  TTempDir dir;
  fs::create_directories(dir.File("stage"));
  // A "bin" folder without installed data beside it is a portable folder too.
  fs::create_directories(dir.File("opt/bin"));
  for (const std::string& exe : {dir.File("stage/bible"), dir.File("opt/bin/bible")}) {
    const TDataPlaces places =
        DataPlacesFor(exe, Env({{"HOME", dir.File("home")}, {"XDG_CONFIG_HOME", dir.File("cfg")}}));
    const std::string folder = fs::path(exe).parent_path().string() + "/";
    EXPECT_FALSE(places.Installed) << exe;
    EXPECT_EQ(places.Data, folder);
    EXPECT_EQ(MapDataPath(places, "bible.ini", TPathUse::Settings), folder + "bible.ini");
    EXPECT_EQ(MapDataPath(places, "KJV/VerseHistory.txt", TPathUse::Write),
              folder + "KJV/VerseHistory.txt");
    EXPECT_EQ(MapDataPath(places, "Beg1.wav", TPathUse::Read), folder + "Beg1.wav");
    EXPECT_EQ(DataFolders(places, "Dictionaries/"),
              std::vector<std::string>{folder + "Dictionaries/"});
  }
}

// A portable folder that cannot be written (a locked stick, a system folder) keeps what the user
// writes in the user's own folders, takes the settings and histories found beside the executable
// there once, and reads them from there on every later start.
TEST(PortablePlaces, AReadOnlyFolderKeepsTheUsersFilesInTheUsersOwnFolders) {
  TTempDir dir;
  const std::string stage = dir.File("stage/"), home = dir.File("home/");
  Touch(stage + "bible");
  std::ofstream(stage + "bible.ini") << "[MainWindow]\r\nPlaySound=0\r\n";
  Touch(stage + "KJV/BibleTitles.txt");
  std::ofstream(stage + "KJV/VerseHistory.txt") << "0\r\nJohn 3:16\r\n";
  fs::create_directories(home);
  fs::permissions(home, fs::perms::all);
  MakeReadOnly(stage);
  EXPECT_TRUE(RunUnprivileged(dir.Path(), [&] {
    const TDataPlaces places = DataPlacesFor(stage + "bible", Env({{"HOME", home}}));
    bool ok = places.Installed && places.ReadOnly && places.Data == stage &&
              MapDataPath(places, "bible.ini", TPathUse::Settings) == home + ".config/bible/bible.ini" &&
              MapDataPath(places, "KJV/VerseHistory.txt", TPathUse::Write) ==
                  home + ".local/share/bible/KJV/VerseHistory.txt" &&
              MapDataPath(places, "KJV/BibleTitles.txt", TPathUse::Read) == stage + "KJV/BibleTitles.txt";
    ok = ok && CarryPortableFiles(places, "bible.ini");
    ok = ok && ReadFileBytes(home + ".config/bible/bible.ini") == "[MainWindow]\r\nPlaySound=0\r\n" &&
         ReadFileBytes(home + ".local/share/bible/KJV/VerseHistory.txt") == "0\r\nJohn 3:16\r\n";
    // The next start finds the user's own files and copies nothing over them.
    std::ofstream(home + ".config/bible/bible.ini") << "changed";
    ok = ok && !CarryPortableFiles(places, "bible.ini") &&
         ReadFileBytes(home + ".config/bible/bible.ini") == "changed";
    return ok;
  }));
  // A writable portable folder stays as it is.
  TTempDir open;
  EXPECT_FALSE(DataPlacesFor(open.File("bible"), Env({{"HOME", home}})).ReadOnly);
}

TEST(PortablePlaces, TheRunDefaultsToDataRootAndMakesNoFolders) {
  TTempDir dir;
  DataPlaces = TDataPlaces();
  DataRoot = dir.Path();
  EXPECT_EQ(DataFile("KJV/Search_List.txt", TPathUse::Write), dir.File("KJV/Search_List.txt"));
  EXPECT_FALSE(fs::exists(dir.File("KJV")));
  EXPECT_EQ(DataFileFolders("Dictionaries"), std::vector<std::string>{dir.File("Dictionaries")});
  DataRoot.clear();
}

TEST_F(InstalledPlaces, UserFoldersFollowHomeAndTheXdgVariables) {
  TDataPlaces places = Places("ann");
  EXPECT_TRUE(places.Installed);
  EXPECT_EQ(places.Data, Shared());
  EXPECT_EQ(places.UserConfig, Dir.File("ann/.config/bible/"));
  EXPECT_EQ(places.UserData, Dir.File("ann/.local/share/bible/"));

  places = DataPlacesFor(Prefix() + "bin/bible", Env({{"HOME", Dir.File("ann")},
                                                      {"XDG_CONFIG_HOME", Dir.File("cfg")},
                                                      {"XDG_DATA_HOME", Dir.File("data/")}}));
  EXPECT_EQ(places.UserConfig, Dir.File("cfg/bible/"));
  EXPECT_EQ(places.UserData, Dir.File("data/bible/"));
  EXPECT_EQ(MapDataPath(places, "bible.ini", TPathUse::Settings), Dir.File("cfg/bible/bible.ini"));
  EXPECT_EQ(UserDataFolder(Env({{"XDG_DATA_HOME", Dir.File("data")}})), Dir.File("data/bible/"));

  // Relative or empty XDG values are ignored, as the XDG rule says.
  places = DataPlacesFor(
      Prefix() + "bin/bible",
      Env({{"HOME", Dir.File("ann")}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", ""}}));
  EXPECT_EQ(places.UserConfig, Dir.File("ann/.config/bible/"));
  EXPECT_EQ(places.UserData, Dir.File("ann/.local/share/bible/"));

  // Without any home nothing the user writes may land in a relative place.
  places = DataPlacesFor(Prefix() + "bin/bible", Env({}));
  EXPECT_TRUE(places.Installed);
  EXPECT_EQ(MapDataPath(places, "bible.ini", TPathUse::Settings), "");
  EXPECT_EQ(MapDataPath(places, "KJV/VerseHistory.txt", TPathUse::Write), "");
  EXPECT_EQ(MapDataPath(places, "Beg1.wav", TPathUse::Read), Shared() + "Beg1.wav");
}

TEST_F(InstalledPlaces, TheUsersOwnDataComesFirstButHistoriesDoNotHideTheInstalledText) {
  const TDataPlaces places = Places("ann");
  Touch(Shared() + "KJV/BibleTitles.txt");
  Touch(Shared() + "GR/BibleTitles.txt");
  Touch(places.UserData + "GR/BibleTitles.txt");    // ann imported her own Greek text
  Touch(places.UserData + "KJV/VerseHistory.txt");  // and only read the KJV
  EXPECT_EQ(MapDataPath(places, "GR/BibleTitles.txt", TPathUse::Read),
            places.UserData + "GR/BibleTitles.txt");
  EXPECT_EQ(MapDataPath(places, "KJV/BibleTitles.txt", TPathUse::Read),
            Shared() + "KJV/BibleTitles.txt");
  EXPECT_EQ(MapDataPath(places, "KJV/VerseHistory.txt", TPathUse::Read),
            places.UserData + "KJV/VerseHistory.txt");
  // A folder of the user's own counts as a folder, not a file; a file is only a file.
  fs::create_directories(places.UserData + "help");
  EXPECT_EQ(MapDataPath(places, "help", TPathUse::Read), Shared() + "help");
  EXPECT_EQ(MapDataPath(places, "help/", TPathUse::Read), places.UserData + "help/");
  EXPECT_EQ(
      DataFolders(places, "Dictionaries/"),
      (std::vector<std::string>{places.UserData + "Dictionaries/", Shared() + "Dictionaries/"}));
}

TEST_F(InstalledPlaces, TwoUsersKeepTheirOwnHistoriesAndVersionsOverOneInstalledSet) {
  WriteSampleVersion(Shared(), 4, EnglishSample());
  RunAs("ann");
  {
    TBible kjv(4);
    ASSERT_FALSE(kjv.DataPath.empty());
    EXPECT_EQ(kjv.DataPath, Shared() + "KJV/");
    EXPECT_EQ(kjv.HistoryPath, Dir.File("ann/.local/share/bible/KJV/"));
    // The folder is there for the first save, and nothing was written beside the installed data.
    EXPECT_TRUE(fs::is_directory(kjv.HistoryPath));
    EXPECT_EQ(DataFile("bible.ini", TPathUse::Settings), Dir.File("ann/.config/bible/bible.ini"));
    EXPECT_TRUE(fs::is_directory(Dir.File("ann/.config/bible")));
  }
  // Bob imports a KJV of his own; he reads it, Ann still reads the installed one.
  RunAs("bob");
  WriteSampleVersion(DataPlaces.UserData, 4, BulgarianSample());
  {
    TBible kjv(4);
    EXPECT_EQ(kjv.DataPath, Dir.File("bob/.local/share/bible/KJV/"));
    EXPECT_EQ(kjv.HistoryPath, kjv.DataPath);
    EXPECT_EQ(kjv.BookAt(1).Name, BulgarianSample().Books[0].Name);
  }
  RunAs("ann");
  {
    TBible kjv(4);
    EXPECT_EQ(kjv.DataPath, Shared() + "KJV/");
    EXPECT_EQ(kjv.BookAt(1).Name, EnglishSample().Books[0].Name);
  }
  // A version that neither the user nor the installation has stays unavailable, with no folder.
  {
    TBible missing(9);
    EXPECT_TRUE(missing.DataPath.empty());
    EXPECT_TRUE(missing.HistoryPath.empty());
    EXPECT_FALSE(fs::exists(Dir.File("ann/.local/share/bible/GR")));
  }
  for (const auto& entry : fs::recursive_directory_iterator(Shared()))
    EXPECT_EQ(entry.path().filename().string().find("History"), std::string::npos) << entry.path();
}
