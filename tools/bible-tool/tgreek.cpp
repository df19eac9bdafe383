#include "tools/bible-tool/tgreek.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

std::string NormalizeGreek(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(utf8);
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
  // Lower-casing the whole text lets the case mapping choose the final sigma at word ends.
  u.toLower(icu::Locale::getRoot());
  icu::UnicodeString d = nfd->normalize(u, status);
  icu::UnicodeString bare;
  for (int32_t i = 0; i < d.length();) {
    UChar32 c = d.char32At(i);
    i += U16_LENGTH(c);
    if (u_charType(c) == U_NON_SPACING_MARK || u_charType(c) == U_ENCLOSING_MARK) continue;
    // The Greek lunate sigma and the accent-only spacing marks have no place in the stored text.
    if (c == 0x03F2) c = 0x03C3;
    bare.append(c);
  }
  icu::UnicodeString n = nfc->normalize(bare, status);
  std::string out;
  n.toUTF8String(out);
  return out;
}
