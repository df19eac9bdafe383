#include "core/cp1251.h"

#include <cstdint>

namespace {

const TCodePageTable& Page() {
  static const TCodePageTable& page = *TCodePageTable::Find("windows-1251");
  return page;
}

// The one unassigned byte (0x98) reads as U+FFFD here: the system's texts never hold it.
char32_t CodePoint(unsigned char b) { return b == 0x98 ? char32_t(0xFFFD) : Page().Char(b); }

char ToByte(uint32_t cp) {
  const int b = cp == 0x98 ? -1 : Page().Byte(cp);
  return b < 0 ? '?' : char(b);
}

}  // namespace

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
