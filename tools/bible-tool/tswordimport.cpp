#include "tools/bible-tool/tswordimport.h"

#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <versificationmgr.h>

#include <cctype>
#include <memory>
#include <stdexcept>

#include "core/ansi.h"
#include "core/bibleunit.h"
#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tgreek.h"
#include "tools/bible-tool/tmarkup.h"
#include "tools/bible-tool/tswordlibrary.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower((unsigned char)a[i]) != std::tolower((unsigned char)b[i])) return false;
  return true;
}

// The module by its name, or else by the abbreviation its configuration gives.
sword::SWModule* FindModule(sword::SWMgr& mgr, const std::string& name) {
  if (sword::SWModule* m = mgr.getModule(name.c_str())) return m;
  for (auto& [key, module] : mgr.getModules()) {
    const char* abbreviation = module->getConfigEntry("Abbreviation");
    if (SameName(module->getName(), name) || (abbreviation && SameName(abbreviation, name)))
      return module;
  }
  return nullptr;
}

// The installed libraries, or only the given library folder (not the user's own library beside it).
std::unique_ptr<sword::SWMgr> OpenLibrary(const std::string& library) {
  if (library.empty()) return std::make_unique<sword::SWMgr>();
  return std::make_unique<sword::SWMgr>(library.c_str(), true, nullptr, false, false);
}

// The module named, or the library's only module of the type; checked against its files before
// libsword reads it.
sword::SWModule& ChooseModule(sword::SWMgr& mgr, const std::string& library, std::string& name,
                              const char* type, const char* what,
                              const std::vector<std::string>& drivers) {
  sword::SWModule* module = nullptr;
  if (name.empty()) {
    std::string names;
    int count = 0;
    for (auto& [key, m] : mgr.getModules()) {
      if (std::string(m->getType()) != type) continue;
      names += (names.empty() ? "" : ", ") + std::string(m->getName());
      module = m;
      ++count;
    }
    if (count != 1)
      throw TInputError("the package holds " + (count == 0 ? "no " + std::string(what)
                                                           : "several modules; name one of " + names));
    name = module->getName();
  } else {
    module = FindModule(mgr, name);
  }
  if (!module) throw std::runtime_error("unknown SWORD module: " + name);
  if (std::string(module->getType()) != type)
    throw std::runtime_error("SWORD module " + name + " is not a " + what + " (" +
                             module->getType() + ")");
  CheckModuleFiles(*module, library.empty() ? std::string(mgr.prefixPath) : library, drivers);
  return *module;
}

bool ValidUtf8(std::string_view s) {
  for (char32_t c : Utf8ToUtf32(s))
    if (c == 0xFFFD) return false;
  return true;
}

// Module text as UTF-8. Some modules declare Latin-1 and carry UTF-8: valid UTF-8 is taken as such.
std::string ModuleText(const sword::SWModule& module, const char* raw) {
  std::string s = raw ? raw : "";
  if (module.getEncoding() == sword::ENC_UTF8 || ValidUtf8(s)) return s;
  std::u32string latin1(s.begin(), s.end());
  for (char32_t& c : latin1) c &= 0xFF;
  return Utf32ToUtf8(latin1);
}

TSourceMarkup ModuleMarkup(const sword::SWModule& module) {
  switch (module.getMarkup()) {
    case sword::FMT_OSIS: return TSourceMarkup::Osis;
    case sword::FMT_THML: return TSourceMarkup::Thml;
    case sword::FMT_GBF: return TSourceMarkup::Gbf;
    case sword::FMT_TEI: return TSourceMarkup::Tei;
    default: return TSourceMarkup::Plain;
  }
}

// SBLGNT's signs for its critical apparatus point into an apparatus that is not imported.
bool ApparatusSign(char32_t c) { return c >= 0x2E00 && c <= 0x2E05; }

std::string Encode(TCodePage& cp, const std::string& utf8, TImportLog& log) {
  return EncodeLogged(cp, utf8, log);
}

bool IsCyrillic(char32_t c) { return c >= 0x400 && c <= 0x4FF; }

}  // namespace

std::string EncodeLogged(TCodePage& cp, const std::string& utf8, TImportLog& log) {
  const TFitCounts f = cp.Fitted;
  const int64_t t = cp.Transliterated, u = cp.Unrepresentable;
  std::string out = cp.Encode(utf8);
  log.LettersFitted += cp.Fitted.LettersFitted - f.LettersFitted;
  log.MarksDropped += cp.Fitted.MarksDropped - f.MarksDropped;
  log.Transliterated += cp.Transliterated - t;
  log.Unrepresentable += cp.Unrepresentable - u;
  return out;
}

std::string VersionLocale(int v) {
  switch (v) {
    case 0: case 1: case 9: return "bg";
    case 2: case 3: return "ru";
    case 8: return "de";
    case 10: return "la";
    default: return "en";
  }
}

std::string TidyBookName(const std::string& utf8) {
  std::string s = utf8;
  static const std::pair<const char*, const char*> ordinals[] = {
      {"IV ", "4 "}, {"III ", "3 "}, {"II ", "2 "}, {"I ", "1 "}};
  for (const auto& [roman, digit] : ordinals) {
    if (s.rfind(roman, 0) == 0) {
      s = digit + s.substr(std::string(roman).size());
      break;
    }
  }
  std::u32string u = Utf8ToUtf32(s);
  bool cyrillic = false;
  for (char32_t c : u) cyrillic = cyrillic || IsCyrillic(c);
  if (cyrillic) {
    static const std::u32string latin = U"ABCEHKMOPTXaceopxy";
    static const std::u32string cyr = U"АВСЕНКМОРТХасеорху";
    for (char32_t& c : u) {
      size_t k = latin.find(c);
      if (k != std::u32string::npos) c = cyr[k];
    }
  }
  return Utf32ToUtf8(u);
}

std::string VerseForVersion(const TConvertedVerse& verse, int versionIndex, TImportLog& log) {
  std::string text = verse.Text;
  if (versionIndex == 9) text = NormalizeGreek(text);
  if (versionIndex >= 0 && versionIndex < VersionTableSize && VersionParagraphMarks[versionIndex]) {
    // The paragraph mark is the verse's first byte, without a blank after it.
    bool pilcrow = text.rfind("\xC2\xB6", 0) == 0;
    if (pilcrow) text.erase(0, 2);
    while (!text.empty() && text[0] == ' ') text.erase(0, 1);
    if (pilcrow || verse.ParagraphStart) text = "\xC2\xB6" + text;
  }
  std::u32string u = Utf8ToUtf32(text);
  size_t before = u.size();
  std::erase_if(u, ApparatusSign);
  log.Omitted += int64_t(before - u.size());
  // The double brackets that mark later additions, as the code pages can write them.
  std::u32string out;
  for (char32_t c : u) {
    if (c == 0x27E6) out += U"[[";
    else if (c == 0x27E7) out += U"]]";
    else out.push_back(c);
  }
  return Utf32ToUtf8(out);
}

void DisambiguateShortNames(std::vector<TVersionBook>& books) {
  auto normalized = [](std::string s) {
    NormalizeReference(s);
    return s;
  };
  for (size_t i = 0; i < books.size(); ++i) {
    TVersionBook& b = books[i];
    while (true) {
      const std::string s = normalized(b.ShortName);
      if (s.empty()) break;
      bool conflict = false;
      for (size_t j = 0; j < books.size() && !conflict; ++j) {
        if (j == i) continue;
        for (const std::string* other : {&books[j].Name, &books[j].ShortName})
          if (normalized(*other).rfind(s, 0) == 0) conflict = true;
      }
      if (!conflict || b.ShortName.size() >= b.Name.size() || b.Name.rfind(b.ShortName, 0) != 0)
        break;
      b.ShortName = b.Name.substr(0, b.ShortName.size() + 1);
    }
  }
}

std::map<std::string, std::string> EnglishShortNames() {
  const sword::VersificationMgr::System* system =
      sword::VersificationMgr::getSystemVersificationMgr()->getVersificationSystem("KJV");
  std::vector<TVersionBook> books;
  std::vector<std::string> osisNames;
  sword::VerseKey key;
  key.setLocale("en");
  for (int b = 0; system && b < system->getBookCount(); ++b) {
    std::string osis = system->getBook(b)->getOSISName();
    key.setText((osis + " 1:1").c_str());
    if (osis != key.getOSISBookName()) continue;
    TVersionBook vb;
    vb.Name = TidyBookName(key.getBookName());
    vb.ShortName = TidyBookName(key.getBookAbbrev());
    books.push_back(vb);
    osisNames.push_back(osis);
  }
  DisambiguateShortNames(books);
  std::map<std::string, std::string> out;
  for (size_t i = 0; i < books.size(); ++i) out[osisNames[i]] = books[i].ShortName;
  return out;
}

TVersionData ReadSwordBible(const std::string& name, int versionIndex, TImportLog& log,
                           const std::string& library) {
  if (versionIndex < 0 || versionIndex > 10)
    throw std::runtime_error("version index must be 0..10, not " + std::to_string(versionIndex));
  std::unique_ptr<sword::SWMgr> manager = OpenLibrary(library);
  std::string moduleName = name;
  sword::SWModule* module = &ChooseModule(*manager, library, moduleName, sword::SWMgr::MODTYPE_BIBLES,
                                          "Bible", {"RawText", "RawText4", "zText", "zText4"});
  const char* v11n = module->getConfigEntry("Versification");
  std::string systemName = v11n && *v11n ? v11n : "KJV";
  const sword::VersificationMgr::System* system =
      sword::VersificationMgr::getSystemVersificationMgr()->getVersificationSystem(systemName.c_str());
  if (!system) throw std::runtime_error("unknown versification " + systemName);

  TCodePage cp(VersionCodePage(versionIndex));
  // The Greek version shows its book names in Cyrillic.
  TCodePage namesCp(versionIndex == 9 ? "windows-1251" : VersionCodePage(versionIndex));
  TMarkupOptions options;
  options.StrongsNumbers = versionIndex == 5;
  const TSourceMarkup markup = ModuleMarkup(*module);

  sword::VerseKey key;
  key.setVersificationSystem(systemName.c_str());
  key.setLocale("en");
  key.setAutoNormalize(false);
  sword::VerseKey names;
  names.setVersificationSystem(systemName.c_str());
  names.setLocale(VersionLocale(versionIndex).c_str());

  TVersionData data;
  const int bookCount = system->getBookCount();
  for (int b = 0; b < bookCount; ++b) {
    const sword::VersificationMgr::Book* book = system->getBook(b);
    std::string osis = book->getOSISName();
    int slot = BookSlotOfOsis(osis);
    if (slot == 0) continue;  // a book outside the 78 slots has nowhere to go
    TVersionBook vb;
    vb.Slot = uint16_t(slot);
    bool any = false;
    for (int c = 1; c <= book->getChapterMax(); ++c) {
      std::vector<std::string> verses;
      for (int v = 1; v <= book->getVerseMax(c); ++v) {
        key.setText((osis + " " + std::to_string(c) + ":" + std::to_string(v)).c_str());
        std::string text;
        if (osis == key.getOSISBookName() && key.getChapter() == c && key.getVerse() == v) {
          module->setKey(key);
          std::string raw = ModuleText(*module, module->getRawEntry());
          text = Encode(cp, VerseForVersion(ConvertVerseMarkup(raw, markup, options), versionIndex, log),
                        log);
        }
        if (!text.empty()) any = true;
        verses.push_back(std::move(text));
      }
      vb.Chapters.push_back(std::move(verses));
    }
    if (!any) continue;  // the module lacks the book
    names.setText((osis + " 1:1").c_str());
    std::string name = book->getLongName(), abbreviation = osis;
    if (osis == names.getOSISBookName()) {
      name = names.getBookName();
      abbreviation = names.getBookAbbrev();
    }
    vb.Name = Encode(namesCp, TidyBookName(name), log);
    vb.Title = vb.Name;
    vb.ShortName = Encode(namesCp, TidyBookName(abbreviation), log);
    data.Books.push_back(std::move(vb));
    if (log.Progress) log.Progress(TidyBookName(name), int(data.Books.size()), bookCount);
  }
  if (data.Books.empty()) throw std::runtime_error("SWORD module " + moduleName + " has no text");
  DisambiguateShortNames(data.Books);
  const char* description = module->getDescription();
  data.Name = description && *description ? description : module->getName();
  return data;
}

namespace {

TDictionaryKind KindOf(sword::SWModule& module) {
  for (auto it = module.getConfig().find("Feature"); it != module.getConfig().end() &&
                                                      std::string(it->first.c_str()) == "Feature";
       ++it) {
    std::string f = it->second.c_str();
    if (f == "GreekDef") return TDictionaryKind::StrongsGreek;
    if (f == "HebrewDef") return TDictionaryKind::StrongsHebrew;
  }
  std::string name = module.getName();
  if (name == "StrongsGreek") return TDictionaryKind::StrongsGreek;
  if (name == "StrongsHebrew") return TDictionaryKind::StrongsHebrew;
  return TDictionaryKind::Plain;
}

// Marks where a headword starts in the article while it is still UTF-8; removed after encoding.
constexpr char HeadwordMark = '\x01';

// "Ex 6:16-20" with the target "Exod.6.16-Exod.6.20" becomes "Exod 6:16-20": the book as version 4
// abbreviates it, so that the reference parses there. Bare chapter or verse numbers stay.
std::string RewriteReference(const std::string& text, const std::string& osisRef) {
  static const std::map<std::string, std::string> shortNames = EnglishShortNames();
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  size_t bookStart = i;
  if (i < text.size() && text[i] >= '1' && text[i] <= '4') ++i;
  while (i < text.size() && text[i] == ' ') ++i;
  size_t lettersStart = i;
  while (i < text.size() && std::isalpha((unsigned char)text[i])) ++i;
  if (i == lettersStart) return text;  // no book name
  if (i < text.size() && text[i] == '.') ++i;
  auto it = shortNames.find(osisRef.substr(0, osisRef.find('.')));
  if (it == shortNames.end()) return text;
  std::string rest = text.substr(i);
  if (!rest.empty() && rest[0] != ' ') rest = " " + rest;
  return text.substr(0, bookStart) + it->second + rest;
}

// One article's markup from TEI, ThML, OSIS or GBF entry text; braces stay (articles have no
// footnotes to strip).
std::string ConvertArticle(const std::string& raw, TSourceMarkup markup, bool strongs,
                           bool keepOriginal, int& omitted) {
  std::vector<TMarkupToken> tokens;
  if (markup == TSourceMarkup::Plain) {
    TMarkupToken t;
    t.Text = raw;
    tokens.push_back(t);
  } else {
    tokens = TokenizeMarkup(raw);
  }
  std::string out;
  int italic = 0;
  int skip = 0;
  std::vector<std::pair<std::string, int>> open;  // element and what its end does
  enum { None = 0, EndItalic = 1, EndSkip = 2, EndReference = 3, EndHeadword = 4 };
  std::string refTarget, refText;
  bool inRef = false;
  for (size_t k = 0; k < tokens.size(); ++k) {
    const TMarkupToken& t = tokens[k];
    if (t.Kind == TMarkupToken::Characters) {
      if (skip > 0) continue;
      std::string text;
      for (char c : t.Text) {
        if (c == '|') text += "\xC2\xA6";
        else if (c == '~') text.push_back('-');
        else if (c == '\n' || c == '\r' || c == '\t') text.push_back(' ');
        else text.push_back(c);
      }
      if (inRef) refText += text;
      else out += text;
      continue;
    }
    std::string name = t.Name;
    for (char& c : name) c = char(std::tolower((unsigned char)c));
    if (t.Kind == TMarkupToken::End) {
      for (size_t e = open.size(); e-- > 0;) {
        if (open[e].first != name) continue;
        while (open.size() > e) {
          switch (open.back().second) {
            case EndItalic:
              if (--italic == 0) out.push_back('|');
              break;
            case EndSkip: --skip; break;
            case EndReference: {
              inRef = false;
              std::string text = refText;
              if (refTarget.find(':') == std::string::npos && !refTarget.empty())
                text = RewriteReference(refText, refTarget);
              std::string number = StrongsWord(text);
              if (!number.empty() && text.find(' ') == std::string::npos) text = number;
              out += text;
              break;
            }
            default: break;
          }
          open.pop_back();
        }
        break;
      }
      continue;
    }
    int action = None;
    std::string type = t.Attribute("type"), rend = t.Attribute("rend");
    if (name == "lb" || name == "br" || name == "cl") {
      out.push_back('~');
    } else if (name == "p" || name == "cm") {
      out.push_back('~');
    } else if (((name == "hi" && (rend == "italic" || type == "italic")) || name == "i" ||
                name == "em" || name == "fi" || name == "pron") && skip == 0) {
      if (italic++ == 0) out.push_back('|');
      action = EndItalic;
    } else if (name == "orth" && type == "writing") {
      // Beta code repeats the Greek word in a machine spelling.
      ++skip;
      ++omitted;
      action = EndSkip;
    } else if (name == "orth" && type.empty() && !keepOriginal) {
      // The code page lacks the script; the transliterated headword of the entry stands for it.
      ++skip;
      ++omitted;
      action = EndSkip;
    } else if (name == "orth" && type == "trans" && strongs) {
      out.push_back(HeadwordMark);
    } else if (name == "ref" || name == "reference" || name == "scripref") {
      if (!inRef) {
        inRef = true;
        refText.clear();
        refTarget = t.Attribute("osisRef");
        if (refTarget.empty()) refTarget = t.Attribute("target");
        if (refTarget.empty()) refTarget = t.Attribute("passage");
        action = EndReference;
      }
    }
    if (t.SelfClosing) {
      if (action == EndItalic && --italic == 0) out.push_back('|');
      if (action == EndSkip) --skip;
      if (action == EndReference) inRef = false;
      continue;
    }
    open.emplace_back(name, action);
  }
  if (inRef) out += refText;
  if (italic > 0) out.push_back('|');
  return out;
}

}  // namespace

std::string DefaultDictionaryName(const std::string& module) { return module; }

TCharSet DictionaryLetters(TDictionaryKind kind) {
  TCharSet letters;
  for (int c = '0'; c <= '9'; ++c) letters.set(size_t(c));
  for (int c = 'A'; c <= 'Z'; ++c) letters.set(size_t(c));
  for (int c = 'a'; c <= 'z'; ++c) letters.set(size_t(c));
  if (kind == TDictionaryKind::Plain) {
    for (int c = 0xC0; c <= 0xFF; ++c) letters.set(size_t(c));
    letters.set(0xA8);
    letters.set(0xB8);
    letters.set('-');  // compound names such as ABED-NEGO are one headword
  }
  return letters;
}

bool ConvertDictionaryEntry(const std::string& key, const std::string& raw, TSourceMarkup markup,
                            TDictionaryKind kind, const TCharSet& letters, TCodePage& cp,
                            TImportLog& log, TDictionaryArticle& article) {
  const bool strongs = kind != TDictionaryKind::Plain;
  std::string head = key;
  if (strongs) {
    // Keys are zero-padded numbers; the text of version 5 writes them as H430 and G2316.
    std::string digits;
    for (char c : key)
      if (std::isdigit((unsigned char)c)) digits.push_back(c);
    head = StrongsWord(std::string(kind == TDictionaryKind::StrongsGreek ? "G" : "H") + digits);
    if (head.empty()) return false;  // module front matter without a number
  }
  int omitted = 0;
  // The original-script headword goes only where a transliterated one stands for it.
  const bool transliterated = raw.find("type=\"trans\"") != std::string::npos;
  std::string body = TidyViewMarkup(ConvertArticle(raw, markup, strongs, !transliterated, omitted));
  log.Omitted += omitted;
  std::string utf8 = std::string(1, HeadwordMark) + head + (strongs ? " " : "~") + body;
  std::string encoded = Encode(cp, TidyViewMarkup(utf8), log);
  article = TDictionaryArticle();
  std::vector<size_t> marks;
  for (char c : encoded) {
    if (c == HeadwordMark) marks.push_back(article.Text.size());
    else article.Text.push_back(c);
  }
  // A headword starts at its first letter within its line; a mark before none names nothing.
  for (size_t o : marks) {
    while (o < article.Text.size() && !letters.test((unsigned char)article.Text[o]) &&
           article.Text[o] != '~')
      ++o;
    if (o < article.Text.size() && letters.test((unsigned char)article.Text[o]) &&
        (article.HeadwordOffsets.empty() || article.HeadwordOffsets.back() != o))
      article.HeadwordOffsets.push_back(o);
  }
  return !article.HeadwordOffsets.empty();
}

TDictionaryData ReadSwordDictionary(const std::string& name, TImportLog& log,
                                    const std::string& library) {
  std::unique_ptr<sword::SWMgr> manager = OpenLibrary(library);
  std::string moduleName = name;
  sword::SWModule* module = &ChooseModule(*manager, library, moduleName,
                                          sword::SWMgr::MODTYPE_LEXDICTS, "lexicon or dictionary",
                                          {"RawLD", "RawLD4", "zLD"});
  const TDictionaryKind kind = KindOf(*module);
  TCodePage cp("windows-1251");
  const TSourceMarkup markup = ModuleMarkup(*module);

  TDictionaryData data;
  data.Title = Encode(cp, module->getDescription(), log);
  data.Letters = DictionaryLetters(kind);
  int count = 0;
  for (module->setPosition(sword::TOP); !module->popError(); (*module)++) ++count;
  int done = 0;
  for (module->setPosition(sword::TOP); !module->popError(); (*module)++) {
    ++done;
    TDictionaryArticle article;
    if (ConvertDictionaryEntry(ModuleText(*module, module->getKeyText()),
                               ModuleText(*module, module->getRawEntry()), markup, kind,
                               data.Letters, cp, log, article))
      data.Articles.push_back(std::move(article));
    if (log.Progress && (done % 500 == 0 || done == count))
      log.Progress(module->getKeyText(), done, count);
  }
  if (data.Articles.empty()) throw std::runtime_error("SWORD module " + moduleName + " has no entries");
  return data;
}
