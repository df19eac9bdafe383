#pragma once
// The settings interface that the core reads and writes through. The one object of the program,
// IniFile, is a TMyIniFile (settings/), which implements it over the settings file.

#include <string>
#include <vector>

#include "core/tfont.h"

class TCustomIniFile {
 public:
  virtual ~TCustomIniFile() = default;

  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) = 0;
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  virtual int ReadInteger(const std::string& section, const std::string& key, int defaultValue);
  virtual void WriteInteger(const std::string& section, const std::string& key, int value);
  virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue);
  virtual void WriteBool(const std::string& section, const std::string& key, bool value);
  // Key names of the section in file order; empty for a missing section.
  virtual std::vector<std::string> ReadSection(const std::string& section) = 0;
  virtual void EraseSection(const std::string& section) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& key) = 0;
  virtual bool SectionExists(const std::string& section);

  // Keys "FontName" and "FontSize"; style, colour and character set are untouched.
  TFont& ReadFont(const std::string& section, TFont& font);
  void WriteFont(const std::string& section, const TFont& font);
  // Keys "WindowState", "Top", "Left", "Width", "Height"; a maximized window keeps the stored bounds.
  TFormPlacement& ReadFormPlacement(const std::string& section, TFormPlacement& placement);
  void WriteFormPlacement(const std::string& section, const TFormPlacement& placement);

  // Set by the program once a write failed during this run: the failure is reported once, and
  // the writes still to come at exit are not attempted.
  bool WriteFailed = false;
};

// The program's one settings object; created before the program entry runs, released after it.
extern TCustomIniFile* IniFile;
