#include "tools/bible-tool/tbytecodepage.h"

#include <stdexcept>

TByteCodePage::TByteCodePage(std::string_view name) : Page(TCodePageTable::Find(name)) {
  if (!Page) throw std::runtime_error("unknown code page " + std::string(name));
}

std::string TByteCodePage::Decode(std::string_view bytes) const {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char b : bytes) AppendUtf8(out, Page->Char(b));
  return out;
}

std::string TByteCodePage::Encode(std::string_view utf8) const {
  TFitCounts counts;
  return FitToCodePage(Utf8ToUtf32(utf8), *Page, counts);
}

std::string VersionCodePage(int versionIndex) {
  if (versionIndex == 8) return "windows-1250";
  if (versionIndex == 9) return "windows-1253";
  return "windows-1251";
}
