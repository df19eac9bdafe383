#pragma once
// The settings of section "MainWindow" and of the windows saved at exit, as one typed object:
// loaded when the main window is created and saved when it closes, in one place each. The options
// dialog edits it; the windows read it. Keys, values and their order in the file are those the
// program has always written (see Save).

#include <cstdint>
#include <string>
#include <vector>

#include "core/tcustominifile.h"
#include "core/tfont.h"
#include "core/verselist.h"

// A Bible window saved at exit: section "Bible" + its number.
struct TSavedWindow {
  int Version = 1;  // "BibleHndl", the version index
  int Book = 1;     // book slot
  int Chapter = 1;
  int Verse = 1;
  bool operator==(const TSavedWindow&) const = default;
};

struct TMainSettings {
  static constexpr int PanelLeft = 3;
  static constexpr int PanelRight = 4;
  // A saved count of windows beyond this is damage, not a session to restore.
  static constexpr int MaxSavedWindows = 64;

  // The main window's bounds ("WindowState", "Top", "Left", "Width", "Height"); what the file
  // lacks keeps the value given before Load.
  TFormPlacement Placement;
  TFont Font;                        // "FontName", "FontSize": the main window's font
  int PanelAlign = PanelLeft;        // the control panel's side
  int PanelWidth = 157;              // as stored; the window keeps at least its minimum
  int SplitterTop = 144;             // the word list's height, as stored
  int32_t ViewOptions = 0x00010000;  // four flags, see TViewOptions
  bool ShowHint = true;
  bool ShowFootnotes = true;
  uint32_t CurrentVerseColor = 0x008000;  // 0x00BBGGRR
  uint32_t FounWordColor = 0xFF0000;
  int SearchRangeType = 0;            // as stored; the range dialog reads an unknown type as "all"
  TBookSet SearchRange = AllBooks();  // "SearchRange": 78 flags, slot 1 first
  std::vector<TSavedWindow> Windows;  // "MDIChildCount" and the "Bible" sections, active first
  bool DifferentFonts = false;
  bool CheckClipboard = true;
  bool PlaySound = true;
  bool AutoKeybd = true;
  bool FoneticCyr = false;
  bool DictionaryVisible = false;  // "IsDicVizible": the dictionary window opens at start
  bool LinkViewer = false;         // "IsBeacon": the link to the on-top viewer opens at start
  bool AllForms = false;           // "AllForms": the word search finds every form of a word
  // "InternetAccess": whether the program may reach module repositories over the internet, as
  // the user answered when first asked; written at once by SaveInternetAccess.
  int InternetAccess = InternetNotAsked;
  static constexpr int InternetNotAsked = 0;
  static constexpr int InternetAllowed = 1;
  static constexpr int InternetRefused = 2;

  // Not stored: set by the options dialog when the font or a view option changed, so that the
  // chapter texts are built again.
  bool RebuildTexts = false;

  // Reads every key; a missing or unreadable value keeps its default. A "SearchRange" character
  // other than "0" keeps its book in the range, and a saved window of no known version is left out.
  void Load(TCustomIniFile& ini);
  // Writes every key in the order of the file, erasing the "Bible" sections of the windows saved
  // last time first. Raises the settings write error; what was written before it stays written.
  void Save(TCustomIniFile& ini) const;

  // Writes "InternetAccess" alone, so that the answer holds even if the program ends abnormally.
  void SaveInternetAccess(TCustomIniFile& ini) const;

  static TBookSet AllBooks();
  bool operator==(const TMainSettings&) const = default;
};
