#pragma once
// The class of the program's one settings object, IniFile (core/tcustominifile.h): the
// private-profile layer over the settings file named after the executable.

#include <string>

#include "settings/tinifile.h"

class TMyIniFile : public TIniFile {
 public:
  explicit TMyIniFile(const std::string& fileName) : TIniFile(fileName) {}
};

// The file name with its extension (from the last "." of its last component on) replaced by ".ini",
// or ".ini" appended when it has none.
std::string IniFileNameFor(const std::string& executablePath);

// The settings file of the running executable (/proc/self/exe): IniFileNameFor its full path in a
// portable folder; the same file name in the user's configuration folder (core/datapaths.h)
// when the program is installed. "" when the path cannot be read.
std::string SettingsFileName();
