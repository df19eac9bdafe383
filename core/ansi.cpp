#include "core/ansi.h"

#include <array>

namespace {

struct TCaseTables {
  std::array<unsigned char, 256> Lower;
  std::array<unsigned char, 256> Upper;
};

// windows-1251: ASCII, the Cyrillic block 0xC0..0xFF and the scattered letters of 0x80..0xBF.
TCaseTables MakeTables() {
  TCaseTables t;
  for (int i = 0; i < 256; ++i) t.Lower[i] = t.Upper[i] = static_cast<unsigned char>(i);
  auto pair = [&t](int upper, int lower) {
    t.Lower[upper] = static_cast<unsigned char>(lower);
    t.Upper[lower] = static_cast<unsigned char>(upper);
  };
  for (int c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  for (int c = 0xC0; c <= 0xDF; ++c) pair(c, c + 32);
  static const int extra[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C},
                                 {0x8D, 0x9D}, {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2},
                                 {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
                                 {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
  for (const auto& p : extra) pair(p[0], p[1]);
  return t;
}

const TCaseTables& Tables() {
  static const TCaseTables tables = MakeTables();
  return tables;
}

}  // namespace

namespace ansi {

unsigned char LowerChar(unsigned char c) { return Tables().Lower[c]; }
unsigned char UpperChar(unsigned char c) { return Tables().Upper[c]; }

}  // namespace ansi

std::string AnsiLowerCase(std::string_view s) {
  const auto& lower = Tables().Lower;
  std::string out(s);
  for (char& c : out) c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
  return out;
}

std::string AnsiUpperCase(std::string_view s) {
  const auto& upper = Tables().Upper;
  std::string out(s);
  for (char& c : out) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  return out;
}

int CompareBytes(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  const auto& lower = Tables().Lower;
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const auto x = lower[static_cast<unsigned char>(a[i])];
    const auto y = lower[static_cast<unsigned char>(b[i])];
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool AnsiSameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}
