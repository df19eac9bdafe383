#include "core/tcustominifile.h"

#include <cstdint>
#include <string_view>

TCustomIniFile* IniFile = nullptr;

namespace {

int DigitValue(char c, bool hex) {
  if (c >= '0' && c <= '9') return c - '0';
  if (hex) {
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  }
  return -1;
}

// The framework's StrToIntDef: leading blanks, an optional sign, then decimal digits or "$"/"0x"
// and hexadecimal digits, nothing after them. Decimal must fit a 32-bit integer; hexadecimal may
// use all 32 bits (so "$FFFFFFFF" is -1). False for anything else.
bool TryStrToInt(std::string_view s, int& result) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  const uint64_t base = hex ? 16 : 10;
  uint64_t value = 0;
  for (; i < s.size(); ++i) {
    int d = DigitValue(s[i], hex);
    if (d < 0) return false;
    value = value * base + uint64_t(d);
    if (value > limit) return false;
  }
  uint32_t bits = uint32_t(value);
  if (negative) bits = 0u - bits;
  result = int32_t(bits);
  return true;
}

}  // namespace

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& key,
                                int defaultValue) {
  int value;
  return TryStrToInt(ReadString(section, key, ""), value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& key,
                              bool defaultValue) {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const std::string& section) {
  return !ReadSection(section).empty();
}

TFont& TCustomIniFile::ReadFont(const std::string& section, TFont& font) {
  font.Name = ReadString(section, "FontName", font.Name);
  font.Size = ReadInteger(section, "FontSize", font.Size);
  return font;
}

void TCustomIniFile::WriteFont(const std::string& section, const TFont& font) {
  WriteString(section, "FontName", font.Name);
  WriteInteger(section, "FontSize", font.Size);
}

TFormPlacement& TCustomIniFile::ReadFormPlacement(const std::string& section,
                                                  TFormPlacement& placement) {
  // A state outside the three known ones (a hand-edited file) reads as the default, like a
  // non-integer, so that the user interface never meets an unknown state.
  int state = ReadInteger(section, "WindowState", placement.WindowState);
  if (state >= wsNormal && state <= wsMaximized) placement.WindowState = state;
  if (placement.WindowState == wsMaximized) return placement;
  placement.Top = ReadInteger(section, "Top", placement.Top);
  placement.Left = ReadInteger(section, "Left", placement.Left);
  placement.Width = ReadInteger(section, "Width", placement.Width);
  placement.Height = ReadInteger(section, "Height", placement.Height);
  return placement;
}

void TCustomIniFile::WriteFormPlacement(const std::string& section,
                                        const TFormPlacement& placement) {
  WriteInteger(section, "WindowState", placement.WindowState);
  if (placement.WindowState == wsMaximized) return;
  WriteInteger(section, "Top", placement.Top);
  WriteInteger(section, "Left", placement.Left);
  WriteInteger(section, "Width", placement.Width);
  WriteInteger(section, "Height", placement.Height);
}
