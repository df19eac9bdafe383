#include "core/cp1251.h"

#include <cstdint>

namespace {

// Code points of 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F. 0 marks the one unassigned byte.
constexpr uint16_t High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

uint32_t CodePoint(unsigned char b) {
  if (b < 0x80) return b;
  if (b >= 0xC0) return 0x0410 + (b - 0xC0);
  const uint16_t cp = High[b - 0x80];
  return cp ? cp : 0xFFFD;
}

char ToByte(uint32_t cp) {
  if (cp < 0x80) return char(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return char(0xC0 + (cp - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (High[i] == cp) return char(0x80 + i);
  return '?';
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(char(c));
  } else if (c < 0x800) {
    out.push_back(char(0xC0 | (c >> 6)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(char(0xE0 | (c >> 12)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (c >> 18)));
    out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(char(0x80 | (c & 0x3F)));
  }
}

std::string Cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) AppendUtf8(out, CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    uint32_t cp = c;
    size_t len = 1;
    if (c >= 0xF0) len = 4, cp = c & 0x07;
    else if (c >= 0xE0) len = 3, cp = c & 0x0F;
    else if (c >= 0xC0) len = 2, cp = c & 0x1F;
    else if (c >= 0x80) len = 1, cp = 0xFFFD;
    if (i + len > s.size()) {
      out.push_back('?');
      break;
    }
    for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out.push_back(ToByte(cp));
    i += len;
  }
  return out;
}
