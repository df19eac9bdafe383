// The typed settings of section "MainWindow": saved and loaded back unchanged, written with the
// keys, values and order the program has always written, and a garbled file read as the defaults.

#include "settings/tmainsettings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "settings/tmyinifile.h"
#include "tests/support/testversion.h"

namespace {

TMainSettings Changed() {
  TMainSettings s;
  s.Placement = {wsNormal, 40, 30, 900, 640};
  s.Font.Name = "DejaVu Serif";  // the font's name and size are its stored part
  s.Font.Size = 14;
  s.PanelAlign = TMainSettings::PanelRight;
  s.PanelWidth = 210;
  s.SplitterTop = 90;
  s.ViewOptions = 0x01000101;
  s.ShowHint = false;
  s.ShowFootnotes = false;
  s.CurrentVerseColor = 0x0000FF;
  s.FounWordColor = 0x00FF00;
  s.SearchRangeType = 3;
  s.SearchRange[0] = 0;
  s.SearchRange[77] = 0;
  s.Windows = {{4, 54, 3, 16}, {9, 51, 1, 1}};
  s.DifferentFonts = true;
  s.CheckClipboard = false;
  s.PlaySound = false;
  s.AutoKeybd = false;
  s.FoneticCyr = true;
  s.DictionaryVisible = true;
  s.LinkViewer = true;
  s.AllForms = true;
  s.InternetAccess = TMainSettings::InternetAllowed;
  return s;
}

TMainSettings Loaded(const std::string& path) {
  TMyIniFile ini(path);
  TMainSettings s;
  s.Load(ini);
  return s;
}

}  // namespace

TEST(MainSettings, SavedSettingsLoadBackAndTheFileIsWrittenAsAlways) {
  TTempDir dir;
  const std::string path = dir.File("bible.ini");
  // Three windows saved last time: the surplus section goes.
  std::ofstream(path, std::ios::binary)
      << "[MainWindow]\r\nMDIChildCount=3\r\n[Bible2]\r\nBook=1\r\n";
  const TMainSettings saved = Changed();
  {
    TMyIniFile ini(path);
    saved.Save(ini);
  }
  EXPECT_EQ(Loaded(path), saved);
  std::string range(78, '1');
  range[0] = range[77] = '0';
  EXPECT_EQ(
      ReadFileBytes(path),
      "[MainWindow]\r\nMDIChildCount=2\r\nWindowState=0\r\nTop=40\r\nLeft=30\r\nWidth=900\r\n"
      "Height=640\r\nFontName=DejaVu Serif\r\nFontSize=14\r\nPanelAlign=4\r\nPanelWidth=210\r\n"
      "SplitterTop=90\r\nViewOptions=16777473\r\nShowHint=0\r\nShowFootnotes=0\r\n"
      "CurrentVerseColor=255\r\nFounWordColor=65280\r\nSearchRangeType=3\r\nSearchRange=" +
          range +
          "\r\nDifferentFonts=1\r\nCheckClipboard=0\r\nPlaySound=0\r\nAutoKeybd=0\r\n"
          "FoneticCyr=1\r\nIsDicVizible=1\r\nIsBeacon=1\r\nAllForms=1\r\nInternetAccess=1\r\n"
          "\r\n[Bible0]\r\nBibleHndl=4\r\nBook=54\r\nChapter=3\r\nVerse=16\r\n"
          "\r\n[Bible1]\r\nBibleHndl=9\r\nBook=51\r\nChapter=1\r\nVerse=1\r\n");
  // The defaults saved load back as the defaults.
  const std::string fresh = dir.File("fresh.ini");
  {
    TMyIniFile ini(fresh);
    TMainSettings().Save(ini);
  }
  EXPECT_EQ(Loaded(fresh), TMainSettings());
}

TEST(MainSettings, AGarbledFileGivesTheDefaults) {
  TTempDir dir;
  const std::string path = dir.File("bible.ini");
  // Bytes of no ini file at all, then every key with a value it cannot mean.
  std::ofstream(path, std::ios::binary) << std::string("\0\xFF[\r\n=\x80", 7);
  EXPECT_EQ(Loaded(path), TMainSettings());
  std::ofstream(path, std::ios::binary)
      << "[MainWindow]\r\nWindowState=7\r\nTop=x\r\nPanelAlign=9\r\nPanelWidth=\r\nViewOptions="
         "1e9\r\n"
         "ShowHint=yes\r\nCurrentVerseColor=-\r\nSearchRangeType=99999999999\r\nSearchRange=\r\n"
         "MDIChildCount=abc\r\nCheckClipboard=\r\nIsBeacon=on\r\nInternetAccess=7\r\n"
         "[Bible0]\r\nBibleHndl=11\r\n";
  EXPECT_EQ(Loaded(path), TMainSettings());
  // A window of no known version is left out; the others still open.
  std::ofstream(path, std::ios::binary)
      << "[MainWindow]\r\nMDIChildCount=2\r\n[Bible0]\r\nBibleHndl=-1\r\n"
         "[Bible1]\r\nBibleHndl=4\r\nBook=x\r\n";
  EXPECT_EQ(Loaded(path).Windows, (std::vector<TSavedWindow>{{4, 1, 1, 1}}));
  // A count beyond any session stops at the limit.
  std::ofstream(path, std::ios::binary) << "[MainWindow]\r\nMDIChildCount=100000\r\n";
  EXPECT_EQ(Loaded(path).Windows.size(), size_t(TMainSettings::MaxSavedWindows));
}
