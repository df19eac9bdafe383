#pragma once
// Where the program's files lie. A folder that holds the executable with its data is portable:
// settings file, histories and data lie beside the executable. A program installed under a prefix
// (executable in <prefix>/bin, data in <prefix>/share/bible) reads the installed data and keeps
// what a user writes in that user's own folders: the settings file in $XDG_CONFIG_HOME/bible/,
// histories and the versions and dictionaries the user imports in $XDG_DATA_HOME/bible/, where the
// user's copies are found before the installed ones.
//
// Callers name a path as it lies beside the executable ("KJV/VerseHistory.txt", "Dictionaries/",
// "Beg1.wav", "bible.ini") and ask DataFile for it; nothing else knows which case the run is in.

#include <functional>
#include <string>
#include <vector>

enum class TPathUse {
  Read,      // data: the user's own copy when it exists, else the installed one
  Write,     // a file that the user's work writes (histories, imports); its folder is made
  Settings,  // the settings file; its folder is made
};

struct TDataPlaces {
  // Installed, or a portable folder that cannot be written and so keeps what the user writes in
  // the user's own folders (ReadOnly) as an installed program does.
  bool Installed = false;
  bool ReadOnly = false;
  std::string Data;        // the data read by every user, "/" at the end
  std::string UserData;    // the user's data folder; = Data when portable
  std::string UserConfig;  // the folder of the user's settings file; = Data when portable
};

// Reads an environment variable; nullptr when unset.
using TGetEnv = std::function<const char*(const char*)>;

// The places of a program whose executable has this full path. Installed when the executable lies
// in a folder "bin" whose sibling "share/bible" is a folder. The user folders follow the XDG base
// directories: $XDG_DATA_HOME and $XDG_CONFIG_HOME when set to absolute paths, else
// $HOME/.local/share and $HOME/.config; without any of them the user folders stay empty. A
// portable folder that exists but cannot be written uses the user folders too (ReadOnly), when
// there are any.
TDataPlaces DataPlacesFor(const std::string& executablePath, const TGetEnv& env);

// In a read-only portable folder: copies the settings file (its name beside the executable) and
// the version folders' histories to the user's own folders where these have none yet, so that
// nothing kept beside the executable is lost. True when the settings file was not yet in the
// user's folder: the first start that keeps the user's files there.
bool CarryPortableFiles(const TDataPlaces& places, const std::string& settingsName);

// The user's data folder of an installed program ("$XDG_DATA_HOME/bible/"), "" without a home.
std::string UserDataFolder(const TGetEnv& env);

// Maps a name to its path under the places: the rule itself, without touching the disk except to
// test whether the user's copy of a read name exists.
std::string MapDataPath(const TDataPlaces& places, const std::string& name, TPathUse use);
// The folders, the user's first, in which the run looks for a data folder such as "Dictionaries/".
std::vector<std::string> DataFolders(const TDataPlaces& places, const std::string& name);

// The places of this run. The program sets them at start; by default (tools, tests) the run is
// portable at DataRoot.
extern TDataPlaces DataPlaces;
// The running executable's full path as the system reports it (/proc/self/exe); "" when unknown.
std::string ExecutablePath();
// The places of the running executable itself, with the process environment.
TDataPlaces DataPlacesOfThisProgram();
// Makes the folder that a path to be written lies in, when it is missing. The failure, if any,
// shows later as the write's own error, which names the file.
void MakeFolderFor(const std::string& path);

// The path of a name for this run: MapDataPath over DataPlaces, or DataRoot + name when portable.
// A path to write has its folder made first when the run is installed.
std::string DataFile(const std::string& name, TPathUse use);
// DataFolders for this run.
std::vector<std::string> DataFileFolders(const std::string& name);
