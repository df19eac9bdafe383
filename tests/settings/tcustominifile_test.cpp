// The operations of TCustomIniFile over its abstract string layer: integers, booleans, the font and
// the window placement, on an in-memory fake that records the order of the calls, and on
// the real file.

#include "core/tcustominifile.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/tinifile.h"
#include "tests/settings/tempfolder.h"

namespace {

// Keys kept in a map, case-sensitive: enough for the helpers, which always use the same spelling.
class TMemoryIniFile : public TCustomIniFile {
 public:
  std::map<std::pair<std::string, std::string>, std::string> Values;
  std::vector<std::string> Reads;  // keys in the order they were read

  std::string Get(const std::string& section, const std::string& key) {
    auto it = Values.find({section, key});
    return it == Values.end() ? "<missing>" : it->second;
  }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override {
    Reads.push_back(key);
    auto it = Values.find({section, key});
    return it == Values.end() ? defaultValue : it->second;
  }
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override {
    Values[{section, key}] = value;
  }
  std::vector<std::string> ReadSection(const std::string& section) override {
    std::vector<std::string> keys;
    for (auto& [k, v] : Values)
      if (k.first == section) keys.push_back(k.second);
    return keys;
  }
  void EraseSection(const std::string& section) override {
    std::erase_if(Values, [&](auto& kv) { return kv.first.first == section; });
  }
  void DeleteKey(const std::string& section, const std::string& key) override {
    Values.erase({section, key});
  }
};

TEST(CustomIniFile, GlobalStartsEmpty) { EXPECT_EQ(IniFile, nullptr); }

TEST(CustomIniFile, IntegersAndBooleansAreWrittenInDecimalAndAsOneAndZero) {
  TMemoryIniFile ini;
  ini.WriteInteger("S", "i", -123);
  ini.WriteInteger("S", "max", 2147483647);
  ini.WriteBool("S", "t", true);
  ini.WriteBool("S", "f", false);
  EXPECT_EQ(ini.Get("S", "i"), "-123");
  EXPECT_EQ(ini.Get("S", "max"), "2147483647");
  EXPECT_EQ(ini.Get("S", "t"), "1");
  EXPECT_EQ(ini.Get("S", "f"), "0");
  EXPECT_EQ(ini.ReadInteger("S", "i", 0), -123);
  EXPECT_TRUE(ini.ReadBool("S", "t", false));
  EXPECT_FALSE(ini.ReadBool("S", "f", true));
  EXPECT_TRUE(ini.SectionExists("S"));
  EXPECT_FALSE(ini.SectionExists("T"));
}

TEST(CustomIniFile, FontKeepsStyleColourAndCharset) {
  TMemoryIniFile ini;
  TFont saved;
  saved.Name = "Times New Roman";
  saved.Size = 14;
  saved.Style = fsBold;
  saved.Charset = RUSSIAN_CHARSET;
  ini.WriteFont("MainWindow", saved);
  EXPECT_EQ(ini.Values.size(), 2u);
  EXPECT_EQ(ini.Get("MainWindow", "FontName"), "Times New Roman");
  EXPECT_EQ(ini.Get("MainWindow", "FontSize"), "14");

  TFont read;
  read.Style = fsBold | fsItalic;
  read.Charset = GREEK_CHARSET;
  read.Color = 0x0000FF;
  TFont& same = ini.ReadFont("MainWindow", read);
  EXPECT_EQ(&same, &read);
  EXPECT_EQ(read.Name, "Times New Roman");
  EXPECT_EQ(read.Size, 14);
  EXPECT_EQ(read.Style, fsBold | fsItalic);
  EXPECT_EQ(read.Charset, GREEK_CHARSET);
  EXPECT_EQ(read.Color, 0x0000FFu);
}

TEST(CustomIniFile, MissingOrNonIntegerFontKeysKeepTheCurrentValues) {
  TMemoryIniFile ini;
  TFont font;
  font.Name = "Arial";
  font.Size = 11;
  ini.ReadFont("Nothing", font);
  EXPECT_EQ(font.Name, "Arial");
  EXPECT_EQ(font.Size, 11);
  ini.Values[{"F", "FontName"}] = "Courier New";
  for (const char* bad : {"twelve", "12pt", "", "1.5", "99999999999"}) {
    ini.Values[{"F", "FontSize"}] = bad;
    font.Size = 11;
    ini.ReadFont("F", font);
    EXPECT_EQ(font.Size, 11) << bad;
    EXPECT_EQ(font.Name, "Courier New");
  }
}

TEST(CustomIniFile, MaximizedWindowWritesOnlyItsStateAndKeepsTheNormalBounds) {
  TMemoryIniFile ini;
  ini.WriteFormPlacement("MainWindow", {wsNormal, 10, 20, 300, 400});
  ini.WriteFormPlacement("MainWindow", {wsMaximized, 0, 0, 1920, 1080});
  EXPECT_EQ(ini.Get("MainWindow", "WindowState"), "2");
  EXPECT_EQ(ini.Get("MainWindow", "Top"), "10");
  EXPECT_EQ(ini.Get("MainWindow", "Left"), "20");
  EXPECT_EQ(ini.Get("MainWindow", "Width"), "300");
  EXPECT_EQ(ini.Get("MainWindow", "Height"), "400");

  TFormPlacement window{wsNormal, 1, 2, 3, 4};
  ini.Reads.clear();
  TFormPlacement& same = ini.ReadFormPlacement("MainWindow", window);
  EXPECT_EQ(&same, &window);
  EXPECT_EQ(window, (TFormPlacement{wsMaximized, 1, 2, 3, 4}));
  EXPECT_EQ(ini.Reads, std::vector<std::string>{"WindowState"});
}

TEST(CustomIniFile, MinimizedWindowWritesStateAndBoundsAndReadsStateFirst) {
  TMemoryIniFile ini;
  ini.WriteFormPlacement("DicForm", {wsMinimized, 5, 6, 7, 8});
  EXPECT_EQ(ini.Values.size(), 5u);
  EXPECT_EQ(ini.Get("DicForm", "WindowState"), "1");
  TFormPlacement window;
  ini.ReadFormPlacement("DicForm", window);
  EXPECT_EQ(window, (TFormPlacement{wsMinimized, 5, 6, 7, 8}));
  EXPECT_EQ(ini.Reads, (std::vector<std::string>{"WindowState", "Top", "Left", "Width", "Height"}));
}

TEST(CustomIniFile, PlacementKeysThatAreNoIntegerOrStateKeepTheCurrentValues) {
  TMemoryIniFile ini;
  ini.Values[{"W", "WindowState"}] = "max";
  ini.Values[{"W", "Top"}] = "x";
  ini.Values[{"W", "Left"}] = "$10";
  ini.Values[{"W", "Width"}] = "";
  TFormPlacement window{wsMinimized, 1, 2, 3, 4};
  ini.ReadFormPlacement("W", window);
  EXPECT_EQ(window, (TFormPlacement{wsMinimized, 1, 16, 3, 4}));
  // A state that is no window state at all (a hand-edited file) also reads as the default.
  for (const char* state : {"3", "-1", "7"}) {
    ini.Values[{"W", "WindowState"}] = state;
    window = {wsNormal, 1, 2, 3, 4};
    ini.ReadFormPlacement("W", window);
    EXPECT_EQ(window.WindowState, wsNormal) << state;
  }
}

TEST(CustomIniFile, FontAndPlacementRoundTripThroughTheFile) {
  TempFolder folder;
  TIniFile ini(folder.File("bible.ini"));
  TFont font;
  font.Name = "\xD2\xE8\xEC\xE5\xF1";  // a Cyrillic face name in windows-1251
  font.Size = 13;
  font.Style = fsItalic;
  ini.WriteFont("KJV\\Font", font);
  ini.WriteFormPlacement("MainWindow", {wsNormal, -8, 12, 800, 600});
  ini.WriteFormPlacement("MainWindow", {wsMaximized, 0, 0, 1, 1});
  EXPECT_EQ(ReadAll(folder.File("bible.ini")),
            "[KJV\\Font]\r\nFontName=\xD2\xE8\xEC\xE5\xF1\r\nFontSize=13\r\n\r\n"
            "[MainWindow]\r\nWindowState=2\r\nTop=-8\r\nLeft=12\r\nWidth=800\r\nHeight=600\r\n");
  TFont back;
  back.Style = fsBold;
  ini.ReadFont("kjv\\font", back);
  EXPECT_EQ(back.Name, font.Name);
  EXPECT_EQ(back.Size, 13);
  EXPECT_EQ(back.Style, fsBold);
  TFormPlacement window{wsNormal, 1, 1, 1, 1};
  ini.ReadFormPlacement("MainWindow", window);
  EXPECT_EQ(window, (TFormPlacement{wsMaximized, 1, 1, 1, 1}));
  ini.WriteString("MainWindow", "WindowState", "0");
  ini.ReadFormPlacement("MainWindow", window);
  EXPECT_EQ(window, (TFormPlacement{wsNormal, -8, 12, 800, 600}));
}

}  // namespace
