// The settings file layer: every read of an arbitrary file, then writes, each checked by reading it
// back with the private-profile rules.
// Input: the file, a section name, a key name, a value, operation bytes.

#include <cstdlib>

#include "fuzz/fuzzsupport.h"
#include "settings/tinifile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
std::string Trim(std::string s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}
std::string OneLine(const std::string& s) {
  return s.substr(0, s.find_first_of(std::string("\r\n\0", 3)));
}

// What ReadString gives back for a written value.
std::string Expected(const std::string& value) {
  std::string v = Trim(OneLine(value));
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
    v = v.substr(1, v.size() - 2);
  if (v.size() > TIniFile::MaxValueLength) v.resize(TIniFile::MaxValueLength);
  return v;
}

// A key that a line can hold: it starts neither a header nor a comment and has no "=".
bool UsableKey(const std::string& key) {
  const std::string k = Trim(OneLine(key));
  return k.find('=') == std::string::npos && (k.empty() || (k[0] != '[' && k[0] != ';'));
}

void Reads(TIniFile& ini, const std::string& section, const std::string& key) {
  ini.ReadString(section, key, "default");
  ini.ReadInteger(section, key, 7);
  ini.ReadBool(section, key, true);
  size_t total = 0;
  for (const std::string& name : ini.ReadSection(section)) total += name.size() + 1;
  Check(total <= TIniFile::MaxSectionNamesBytes);
  ini.SectionExists(section);
  TFont font;
  ini.ReadFont(section, font);
  TFormPlacement placement;
  ini.ReadFormPlacement(section, placement);
  Check(placement.WindowState >= 0 && placement.WindowState <= 2);
  Check(ini.ReadString(section, key, "").size() <= TIniFile::MaxValueLength);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = fuzz::Split(data, size, 5);
  const std::string name = fuzz::CleanFolder("settings") + "bible.ini";
  fuzz::WriteFile(name, parts[0]);
  TIniFile ini(name);
  const std::string& section = parts[1];
  const std::string& key = parts[2];
  const std::string& value = parts[3];
  Reads(ini, section, key);
  Reads(ini, "MainWindow", "FontSize");
  for (unsigned char op : parts[4].substr(0, 8)) {
    switch (op % 6) {
      case 0:
        ini.WriteString(section, key, value);
        if (UsableKey(key)) Check(ini.ReadString(section, key, "") == Expected(value));
        break;
      case 1:
        ini.WriteInteger(section, key, int(op) - 128);
        if (UsableKey(key)) Check(ini.ReadInteger(section, key, 1000) == int(op) - 128);
        break;
      case 2:
        ini.EraseSection(section);
        Check(!ini.SectionExists(section));
        break;
      case 3:
        ini.DeleteKey(section, key);
        Check(ini.ReadString(section, key, "\x01gone") == "\x01gone");
        break;
      case 4: {
        TFont font;
        font.Name = Trim(OneLine(value));
        font.Size = op;
        ini.WriteFont(section, font);
        TFont back;
        ini.ReadFont(section, back);
        Check(back.Size == font.Size && back.Name == Expected(font.Name));
        break;
      }
      default:
        Reads(ini, section, key);
        break;
    }
  }
  return 0;
}
