// The settings file's name follows the executable; TMyIniFile is the private-profile layer on it.

#include "settings/tmyinifile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/settings/tempfolder.h"

namespace {

TEST(MyIniFile, NameReplacesTheExtensionOrAppendsOne) {
  EXPECT_EQ(IniFileNameFor("/opt/bible/bible"), "/opt/bible/bible.ini");
  EXPECT_EQ(IniFileNameFor("/opt/bible/Bible.exe"), "/opt/bible/Bible.ini");
  EXPECT_EQ(IniFileNameFor("/opt/bible.d/bible"), "/opt/bible.d/bible.ini");
  EXPECT_EQ(IniFileNameFor("/opt/a.b.c"), "/opt/a.b.ini");
  EXPECT_EQ(IniFileNameFor("/opt/bible."), "/opt/bible.ini");
  EXPECT_EQ(IniFileNameFor("bible"), "bible.ini");
  EXPECT_EQ(IniFileNameFor("/opt/\xC1\xE8\xE1\xEB\xE8\xFF.bin"),
            "/opt/\xC1\xE8\xE1\xEB\xE8\xFF.ini");
}

TEST(MyIniFile, SettingsFileFollowsTheRunningExecutable) {
  std::string exe = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string name = SettingsFileName();
  EXPECT_EQ(name, IniFileNameFor(exe));
  EXPECT_EQ(std::filesystem::path(name).filename(), "settings_tests.ini");
  EXPECT_EQ(std::filesystem::path(name).parent_path(), std::filesystem::path(exe).parent_path());
}

TEST(MyIniFile, ACopyUnderAnotherNameStartsWithDefaults) {
  TempFolder folder;
  TMyIniFile original(IniFileNameFor(folder.File("bible")));
  original.WriteInteger("MainWindow", "CurrentBible", 4);
  EXPECT_EQ(original.ReadInteger("MainWindow", "CurrentBible", 0), 4);
  TMyIniFile copy(IniFileNameFor(folder.File("bible2")));
  EXPECT_EQ(copy.ReadInteger("MainWindow", "CurrentBible", 0), 0);
  EXPECT_EQ(copy.FileName(), folder.File("bible2.ini"));
  TCustomIniFile* asInterface = &copy;
  EXPECT_FALSE(asInterface->SectionExists("MainWindow"));
}

}  // namespace
