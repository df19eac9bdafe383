#include "tools/bible-tool/tcodepage.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/cp1251.h"

namespace {


}  // namespace

std::string NormalizeNfc(std::string_view utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(utf8);
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), int32_t(utf8.size())));
  icu::UnicodeString n = nfc->normalize(u, status);
  if (U_FAILURE(status)) return std::string(utf8);
  std::string out;
  n.toUTF8String(out);
  return out;
}

TCodePage::TCodePage(const std::string& name) : FName(name), Page(TCodePageTable::Find(name)) {
  if (!Page) throw std::runtime_error("unknown code page " + name);
}

TCodePage::~TCodePage() = default;

bool TCodePage::Representable(std::string_view utf8) const {
  for (char32_t c : Utf8ToUtf32(utf8))
    if (c == 0xFFFD || Page->Byte(c) < 0) return false;
  return true;
}

std::string TCodePage::Decode(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) AppendUtf8(out, Page->Char(b));
  return out;
}

std::string TCodePage::Encode(std::string_view utf8) {
  return FitToCodePage(Utf8ToUtf32(NormalizeNfc(utf8)), *Page, Fitted,
                       [this](std::u32string_view run) { return EncodeRun(std::u32string(run)); });
}

// A run of characters the code page lacks, transliterated together so that context-dependent
// scripts come out right; when the run as a whole does not fit, character by character.
std::string TCodePage::EncodeRun(const std::u32string& run) {
  // Made on first need: building the transliterator costs more than a whole verse look-up.
  if (!ToLatin && !ToLatinFailed) {
    UErrorCode status = U_ZERO_ERROR;
    ToLatin.reset(
        icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) ToLatin.reset();
    ToLatinFailed = !ToLatin;
  }
  auto transliterate = [this](const std::u32string& in, std::string& out) {
    if (!ToLatin) return false;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(Utf32ToUtf8(in));
    ToLatin->transliterate(u);
    std::string s;
    u.toUTF8String(s);
    out.clear();
    for (char32_t c : Utf8ToUtf32(s)) {
      const int b = Page->Byte(c);
      if (b < 0 || c == '?') return false;
      out.push_back(char(b));
    }
    return true;
  };
  std::string out;
  if (transliterate(run, out)) {
    Transliterated += int64_t(run.size());
    return out;
  }
  out.clear();
  std::string one;
  for (char32_t c : run) {
    // Spacing accents and the modifier letters of transliterations (ʼ ʽ ʾ ʿ) are apostrophes.
    if (c == 0x00B4 || c == 0x02CA || c == 0x02CB || (c >= 0x02B9 && c <= 0x02C1)) {
      out.push_back('\'');
      ++Transliterated;
    } else if (transliterate(std::u32string(1, c), one)) {
      out += one;
      ++Transliterated;
    } else {
      char buf[16];
      std::snprintf(buf, sizeof buf, "<U+%04X>", unsigned(c));
      out += buf;
      ++Unrepresentable;
    }
  }
  return out;
}
