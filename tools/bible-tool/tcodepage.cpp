#include "tools/bible-tool/tcodepage.h"

#include "core/cp1251.h"

#include <unicode/translit.h>
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

struct TConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

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

TCodePage::TCodePage(const std::string& name) : FName(name) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, TConverterCloser> conv(ucnv_open(name.c_str(), &status));
  if (U_FAILURE(status) || !conv) throw std::runtime_error("unknown code page " + name);
  // Only round-trip mappings count: each byte's own character maps back to that byte.
  for (int b = 0; b < 256; ++b) {
    char in = char(b);
    UChar outBuf[4];
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    status = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(conv.get(), outBuf, 4, &in, 1, &status);
    ToUnicode[b] = 0xFFFD;
    if (U_SUCCESS(status) && n == 1 && outBuf[0] != 0xFFFD && outBuf[0] != 0x1A) {
      ToUnicode[b] = outBuf[0];
      FromUnicode.emplace(char32_t(outBuf[0]), (unsigned char)b);
    }
  }
}

TCodePage::~TCodePage() = default;

bool TCodePage::Representable(std::string_view utf8) const {
  for (char32_t c : Utf8ToUtf32(utf8))
    if (!FromUnicode.count(c)) return false;
  return true;
}

std::string TCodePage::Decode(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) AppendUtf8(out, ToUnicode[b]);
  return out;
}

std::string TCodePage::Encode(std::string_view utf8) {
  std::u32string text = Utf8ToUtf32(NormalizeNfc(utf8));
  std::string out;
  out.reserve(text.size());
  std::u32string run;
  for (char32_t c : text) {
    auto it = FromUnicode.find(c);
    if (it != FromUnicode.end()) {
      if (!run.empty()) {
        out += EncodeRun(run);
        run.clear();
      }
      out.push_back(char(it->second));
    } else {
      run.push_back(c);
    }
  }
  if (!run.empty()) out += EncodeRun(run);
  return out;
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
      auto it = FromUnicode.find(c);
      if (it == FromUnicode.end() || c == '?') return false;
      out.push_back(char(it->second));
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
