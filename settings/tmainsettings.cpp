#include "settings/tmainsettings.h"

#include <algorithm>

#include "core/tbible.h"

namespace {

const char* const Section = "MainWindow";

std::string WindowSection(size_t k) { return "Bible" + std::to_string(k); }

}  // namespace

TBookSet TMainSettings::AllBooks() {
  TBookSet books;
  books.fill(1);
  return books;
}

void TMainSettings::Load(TCustomIniFile& ini) {
  auto number = [&ini](const char* key, int value) { return ini.ReadInteger(Section, key, value); };
  auto flag = [&ini](const char* key, bool value) { return ini.ReadBool(Section, key, value); };
  ini.ReadFormPlacement(Section, Placement);
  ini.ReadFont(Section, Font);
  PanelAlign = number("PanelAlign", PanelLeft) == PanelRight ? PanelRight : PanelLeft;
  PanelWidth = number("PanelWidth", 157);
  SplitterTop = number("SplitterTop", 144);
  ViewOptions = number("ViewOptions", 0x00010000);
  ShowHint = flag("ShowHint", true);
  ShowFootnotes = flag("ShowFootnotes", true);
  CurrentVerseColor = uint32_t(number("CurrentVerseColor", 0x008000)) & 0xFFFFFF;
  FounWordColor = uint32_t(number("FounWordColor", 0xFF0000)) & 0xFFFFFF;
  SearchRangeType = number("SearchRangeType", 0);
  const std::string range = ini.ReadString(Section, "SearchRange", "");
  for (size_t k = 0; k < SearchRange.size(); ++k)
    SearchRange[k] = k < range.size() && range[k] == '0' ? 0 : 1;
  Windows.clear();
  const int count = std::clamp(number("MDIChildCount", 0), 0, MaxSavedWindows);
  for (size_t k = 0; k < size_t(count); ++k) {
    const std::string section = WindowSection(k);
    TSavedWindow w;
    w.Version = ini.ReadInteger(section, "BibleHndl", 1);
    w.Book = ini.ReadInteger(section, "Book", 1);
    w.Chapter = ini.ReadInteger(section, "Chapter", 1);
    w.Verse = ini.ReadInteger(section, "Verse", 1);
    if (w.Version >= 0 && w.Version < VersionTableSize) Windows.push_back(w);
  }
  DifferentFonts = flag("DifferentFonts", false);
  CheckClipboard = flag("CheckClipboard", true);
  PlaySound = flag("PlaySound", true);
  AutoKeybd = flag("AutoKeybd", true);
  FoneticCyr = flag("FoneticCyr", false);
  DictionaryVisible = flag("IsDicVizible", false);
  LinkViewer = flag("IsBeacon", false);
  AllForms = flag("AllForms", false);
  InternetAccess = number("InternetAccess", InternetNotAsked);
  if (InternetAccess != InternetAllowed && InternetAccess != InternetRefused)
    InternetAccess = InternetNotAsked;
}

void TMainSettings::Save(TCustomIniFile& ini) const {
  auto number = [&ini](const char* key, int value) { ini.WriteInteger(Section, key, value); };
  auto flag = [&ini](const char* key, bool value) { ini.WriteBool(Section, key, value); };
  ini.WriteFormPlacement(Section, Placement);
  ini.WriteFont(Section, Font);
  number("PanelAlign", PanelAlign);
  number("PanelWidth", PanelWidth);
  number("SplitterTop", SplitterTop);
  number("ViewOptions", ViewOptions);
  flag("ShowHint", ShowHint);
  flag("ShowFootnotes", ShowFootnotes);
  number("CurrentVerseColor", int(CurrentVerseColor));
  number("FounWordColor", int(FounWordColor));
  number("SearchRangeType", SearchRangeType);
  std::string range;
  for (uint8_t book : SearchRange) range += book ? '1' : '0';
  ini.WriteString(Section, "SearchRange", range);
  const int old = std::clamp(ini.ReadInteger(Section, "MDIChildCount", 0), 0, MaxSavedWindows);
  for (size_t k = 0; k < size_t(old); ++k) ini.EraseSection(WindowSection(k));
  number("MDIChildCount", int(Windows.size()));
  for (size_t k = 0; k < Windows.size(); ++k) {
    const std::string section = WindowSection(k);
    ini.WriteInteger(section, "BibleHndl", Windows[k].Version);
    ini.WriteInteger(section, "Book", Windows[k].Book);
    ini.WriteInteger(section, "Chapter", Windows[k].Chapter);
    ini.WriteInteger(section, "Verse", Windows[k].Verse);
  }
  flag("DifferentFonts", DifferentFonts);
  flag("CheckClipboard", CheckClipboard);
  flag("PlaySound", PlaySound);
  flag("AutoKeybd", AutoKeybd);
  flag("FoneticCyr", FoneticCyr);
  flag("IsDicVizible", DictionaryVisible);
  flag("IsBeacon", LinkViewer);
  flag("AllForms", AllForms);
  SaveInternetAccess(ini);
}

void TMainSettings::SaveInternetAccess(TCustomIniFile& ini) const {
  ini.WriteInteger(Section, "InternetAccess", InternetAccess);
}
