// Writes the seed corpora of the fuzz targets from small valid files: the generated sample
// versions and dictionary of tests/support, a settings file, a history list, references and
// marked-up verses. Usage: fuzz-seedgen OUTPUT-FOLDER; makes OUTPUT-FOLDER/<target>/seed-N.

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "core/historylist.h"
#include "core/tbible.h"
#include "fuzz/fuzzsupport.h"
#include "settings/tinifile.h"
#include "tests/support/testversion.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

std::string Out;
int Written = 0;

void Seed(const std::string& target, const std::string& bytes) {
  const std::string folder = Out + "/" + target;
  std::filesystem::create_directories(folder);
  int n = 0;
  while (std::filesystem::exists(folder + "/seed-" + std::to_string(n))) ++n;
  fuzz::WriteFile(folder + "/seed-" + std::to_string(n), bytes);
  ++Written;
}

std::string Part(const std::string& folder, const char* name) {
  return ReadFileBytes(folder + name);
}

std::string U16(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
  }
  return out;
}

std::string I32(std::initializer_list<int32_t> values) {
  std::string out;
  for (int32_t v : values)
    for (int i = 0; i < 4; ++i) out.push_back(char((uint32_t(v) >> (8 * i)) & 0xFF));
  return out;
}

// A small picture encoded by libjpeg itself: a colour gradient, or grey.
std::string Jpeg(int width, int height, bool grey, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(size_t(width) * size_t(info.input_components));
  while (info.next_scanline < info.image_height) {
    for (size_t i = 0; i < row.size(); ++i) row[i] = (unsigned char)(i * 7 + info.next_scanline * 3);
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  Out = argv[1];
  TTempDir temp;
  struct Sample {
    int Version;
    TVersionData Data;
  };
  const std::vector<Sample> samples = {
      {4, EnglishSample()}, {0, BulgarianSample()}, {9, GreekSample()}};
  const std::string books(78, '\x01');
  for (const char* target :
       {"bible", "infofile", "verselist", "wordlist", "index", "settings", "history", "reference",
        "markup", "poke", "picturelist", "jpeg", "osis", "usfm", "mybible", "esword", "zefania",
        "lexicon", "swordconf"})
    std::filesystem::remove_all(Out + "/" + target);
  for (const Sample& s : samples) {
    const std::string folder = WriteSampleVersion(temp.Path(), s.Version, s.Data);
    const std::string titles = Part(folder, "BibleTitles.txt");
    const std::string structure = Part(folder, "BibleStructure.csv");
    const std::string point = Part(folder, "CompactPoint.bin");
    const std::string text = Part(folder, "CompactText.bin");
    const std::string words = Part(folder, "WordList.txt");
    const std::string wordPoint = Part(folder, "WordPoint.bin");
    const std::string concP = Part(folder, "ConcP.bin");
    const std::string conc = Part(folder, "Conc.bin");
    Seed("bible", fuzz::Join({titles, structure, point, text, std::string(1, char(s.Version))}));
    Seed("infofile", fuzz::Join({point, text, "x"}));
    Seed("infofile", fuzz::Join({wordPoint, words, "god", "the", "zzz", ""}));
    Seed("verselist",
         fuzz::Join({conc, concP, U16({1, 2, 3, 10, 40}), U16({2, 3, 4, 40, 41}), books}));
    if (s.Version == 4) {
      Seed("wordlist",
           fuzz::Join({words, wordPoint, concP, conc, "god\nthe beginning\nIn THE\nheaven earth\nx",
                       "\x00\x01\x02\x03"}));
    }
  }
  Seed("verselist", fuzz::Join({U16({3, 1, 2, 3, 0, 2, 5, 6}), I32({0, 4, -1, 1000000}), U16({}),
                                U16({65535, 1}), std::string(78, '\0')}));

  const std::string dict = temp.Path() + "Dictionaries/";
  std::filesystem::create_directories(dict);
  WriteDictionary(dict + "X", SampleDictionary());
  const std::string avraam = Utf8ToCp1251("авраам");
  Seed("index", fuzz::Join({Part(dict, "X.ind"), Part(dict, "X.ibf"), Part(dict, "X.ibp"),
                            Part(dict, "XC.ibf"), Part(dict, "XC.ibp"), avraam,
                            Utf8ToCp1251("Бабел"), "", Utf8ToCp1251("яяя")}));

  const std::string ini = temp.File("bible.ini");
  {
    TIniFile settings(ini);
    settings.WriteString("MainWindow", "FontName", "Times New Roman");
    settings.WriteInteger("MainWindow", "FontSize", 12);
    settings.WriteFormPlacement("MainWindow", {0, 10, 20, 640, 480});
    settings.WriteString("KJV\\BookMarks", "John 3:16", "");
    settings.WriteString(Utf8ToCp1251("Раздел"), Utf8ToCp1251("Ключ"), "'quoted value'");
  }
  const std::string iniBytes = ReadFileBytes(ini);
  Seed("settings", fuzz::Join({iniBytes, "MainWindow", "FontSize", "14", "\x00\x05\x04"}));
  Seed("settings",
       fuzz::Join({iniBytes, "kjv\\bookmarks", "JOHN 3:16", "\" spaced \"", "\x03\x02"}));
  Seed("settings",
       fuzz::Join({"; comment\n[A]\nx=1\n\n[B\ny=2", "A", "y", "v", "\x00\x01\x02\x03"}));

  THistoryList history;
  history.Sorted = byTime;
  history.EditText = "John 3:16";
  history.Insert(0, 1234, "John 3:16", 45000.25);
  history.Insert(1, 7, Utf8ToCp1251("Битие 1:1"), 45001.5);
  history.Insert(2, 65535, "", 0);
  Seed("history", history.SaveToBytes());
  Seed("history", "2\r\n\r\n 4.50000000000000E+0004 1\r\nx\r\n");

  for (const char* r : {"John 3:16", "Gen 1:1", "Ps 23", "3:16", "Jn3:16", "genesis 2 3"})
    Seed("reference", std::string(1, '\0') + r);
  for (const char* r : {"Битие 1:1", "Йоан 3:16", "Пс 22:1"})
    Seed("reference", std::string(1, '\x01') + Utf8ToCp1251(r));
  Seed("reference", std::string(1, '\x02') + "1:1");

  for (const char* p : {"John 3:16", "999", " -5 ", "+12", "99999999999999999999", "abc", "",
                        "\r\n12\r\n", "Йоан 3:16", "Битие"})
    Seed("poke", std::string(1, '\x01') + p);

  const std::string colour = Jpeg(16, 12, false, 75);
  Seed("jpeg", colour);
  Seed("jpeg", Jpeg(9, 9, true, 30));
  Seed("jpeg", colour.substr(0, colour.size() / 2));  // ends early
  Seed("jpeg", colour + "garbage after the end of the picture");

  Seed("picturelist", "dove=dove.jpg\r\nsheep=ram.jpg\r\nsheep=sheep.jpg\r\nSheep=lamb.jpg\r\n");
  Seed("picturelist", Utf8ToCp1251("гълъб=g.jpg\r\nline without sign\r\n=x.bmp\n\rcamel=c.jpg"));

  Seed("markup", std::string(1, char(1)) +
                     "The <divineName><w lemma=\"strong:H3068\">LORD</w></divineName> said "
                     "<transChange type=\"added\">it</transChange><note>a note</note><lb/>");
  Seed("markup", std::string(1, char(0x81)) +
                     "In the <w lemma=\"strong:H7225\">beginning</w> <w lemma=\"strong:H0430\">God"
                     "</w>&amp;&lt;<milestone type=\"x-p\"/>");
  Seed("markup", std::string(1, char(2)) + "<i>added</i> <br/> <scripRef>John 1</scripRef>&#1234;");
  Seed("markup", std::string(1, char(3)) + "word<WH0430> <FI>added<Fi> <RF>note<Rf><CM>");
  Seed("markup", std::string(1, char(4)) + "<hi rend=\"italic\">x</hi> <lb/> ~ | {}");
  Seed("markup", std::string(1, char(0)) + "plain ~ text | with {notes}");

  // The readers of Bible files: a small Bible of each format, with the markup each one reads.
  const std::string osis =
      "<?xml version=\"1.0\"?>\n<osis><osisText osisIDWork=\"T\"><header><work><title>Test</title>"
      "</work></header><div type=\"book\" osisID=\"Gen\"><chapter osisID=\"Gen.1\"><verse "
      "osisID=\"Gen.1.1\">In the <w lemma=\"strong:H7225\">beginning</w><note>a note</note></verse>"
      "<p><verse sID=\"v2\" osisID=\"Gen.1.2 Gen.1.3\"/>And <transChange "
      "type=\"added\">it</transChange>"
      "</p><lg><l>was</l></lg><verse eID=\"v2\"/></chapter></div></osisText></osis>\n";
  Seed("osis", std::string(1, '\x01') + osis);
  Seed("osis", std::string(1, '\0') + osis.substr(0, osis.size() / 2));
  Seed(
      "usfm",
      std::string(1, '\x01') +
          fuzz::Join({"\\id GEN Test\n\\h Genesis\n\\toc3 Gen\n\\c 1\n\\s1 Heading\n\\p\n\\v 1 In "
                      "the \\w beginning|strong=\"H7225\"\\w*\\f + \\fr 1:1 \\ft note\\f*\n\\v 2-3 "
                      "\\add and\\add* \\x - \\xo 1:2 \\xt Isa 1\\x*\n\\q1 line",
                      "\\id JHN\n\\c 3\n\\v 16 \\wj For God\\wj*", "\\id XYZ\n\\v 1 early"}));
  auto database = [&](const char* sql) {
    const std::string path = temp.File("seed.db");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return ReadFileBytes(path);
  };
  const std::string mybible = database(
      "CREATE TABLE info(name, value); INSERT INTO info VALUES('description','Test');"
      "CREATE TABLE books(book_number, short_name, long_name); INSERT INTO books "
      "VALUES(10,'Gen','Genesis');"
      "CREATE TABLE verses(book_number, chapter, verse, text);"
      "INSERT INTO verses VALUES(10,1,1,'In the<S>7225</S><m>N</m> "
      "<i>beginning</i><f>[1]</f><n>note</n><br/>');"
      "INSERT INTO verses VALUES(470,1,2,'<J>word</J><pb/><h>heading</h><t>x</t>');");
  const std::string commentaries = database(
      "CREATE TABLE commentaries(book_number, chapter_number_from, verse_number_from, "
      "chapter_number_to, verse_number_to, marker, text);"
      "INSERT INTO commentaries VALUES(10,1,1,1,1,'[1]','a <i>note</i>');");
  Seed("mybible",
       fuzz::Join({mybible, commentaries, "\x01In the<S>7225</S> <i>x</i><f>[1]</f><n>n</n>"}));
  Seed("mybible", fuzz::Join({mybible.substr(0, mybible.size() / 2), "", "\x02<n><n>x</n>"}));
  const std::string esword = database(
      "CREATE TABLE Details(Title, Abbreviation); INSERT INTO Details VALUES('Test','T');"
      "CREATE TABLE Bible(Book, Chapter, Verse, Scripture);"
      "INSERT INTO Bible VALUES(1,1,1,'In the{\\cf15\\I  H7225} \\i beginning\\i0 \\u1117?\\par "
      "{\\super 1}');");
  Seed("esword",
       fuzz::Join({esword, "\x01In {\\cf15\\I H0430} \\'e9\\u-3913?{\\*\\x y}\\b x\\b0 \\line"}));
  Seed("esword", fuzz::Join({database("CREATE TABLE sqliteplus_license(x);"), "{\\i x"}));
  const std::string zefania =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<XMLBIBLE biblename=\"Test\">\n"
      "<BIBLEBOOK bnumber=\"1\" bname=\"Genesis\" bsname=\"Gen\"><CHAPTER cnumber=\"1\">"
      "<VERS vnumber=\"1\">In the <gr str=\"7225\">beginning</gr> God<NOTE>a note</NOTE></VERS>"
      "<VERS vnumber=\"3\">And <STYLE fs=\"italic\">God</STYLE> said<BR/>x</VERS>"
      "</CHAPTER><CHAPTER cnumber=\"3\"><VERS vnumber=\"1\">Now</VERS></CHAPTER></BIBLEBOOK>\n"
      "<BIBLEBOOK bnumber=\"43\"><CAPTION>Head</CAPTION><CHAPTER cnumber=\"3\">"
      "<VERS vnumber=\"16\">For God so loved</VERS><VERS vnumber=\"16\"> the world</VERS>"
      "</CHAPTER></BIBLEBOOK>\n<BIBLEBOOK bnumber=\"70\"><CHAPTER cnumber=\"1\">"
      "<VERS vnumber=\"300\">x</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>\n";
  Seed("zefania", std::string(1, '\x04') + zefania);
  Seed("zefania", std::string(1, '\x05') + zefania);
  Seed("zefania", std::string(1, '\x00') +
                      "<XMLBIBLE><BIBLEBOOK bnumber=\"40\" bname=\"\xD0\x9C\xD0\xB0\xD1\x82\">"
                      "<CHAPTER cnumber=\"1\"><VERS vnumber=\"1\">\xD0\x9A\xD0\xBD\xD0\xB8\xD0"
                      "\xB3\xD0\xB0</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>");

  Seed("lexicon", std::string(1, '\0') +
                      "<TEI><entry lemma=\"\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\" "
                      "strong=\"G3056\"><sense>a word</sense><etym>from</etym></entry>"
                      "<entry lemma=\"\"/></TEI>");
  Seed("lexicon", std::string(1, '\1') +
                      "<lexicon><entry><status>x</status><w>\xD7\x90\xD7\x91</w> father"
                      "<sense>one</sense></entry><entry>none</entry></lexicon>");
  Seed("lexicon", std::string(1, '\2') +
                      fuzz::Join({"00-database-info\tA\tK\nhouse\tK\tV\ntwo words\tf\tB\n"
                                  "house\tAAAA\t////////\n",
                                  "about this dictionary\nhouse\n  \xD0\xBA\xD1\x8A\xD1\x89\xD0"
                                  "\xB0\n\ntwo words\nx\n"}));

  const std::string conf =
      "[Module]\nDataPath=./modules/texts/ztext/module/\nModDrv=zText\nBlockType=BOOK\n"
      "CompressType=ZIP\nSourceType=OSIS\nEncoding=UTF-8\nLang=en\nVersification=KJV\n";
  Seed("swordconf", fuzz::Join({conf, "modules/texts/ztext/module/ot.bzs\n"
                                      "modules/texts/ztext/module/ot.bzv\n"
                                      "modules/texts/ztext/module/ot.bzz\n"}));
  Seed("swordconf", fuzz::Join({"[Words]\r\nDataPath=./modules/lexdict/rawld/words/words\r\n"
                                "ModDrv=RawLD4\r\n",
                                "modules/lexdict/rawld/words/words.idx\n"
                                "modules/lexdict/rawld/words/words.dat\n"}));
  Seed("swordconf", fuzz::Join({"[Gen]\nAbsoluteDataPath=/nonexistent/\nDataPath=./x/\n"
                                "ModDrv=RawCom\n[Second]\nModDrv=zLD\n",
                                "x/ot\n../outside\n/abs\n"}));
  std::printf("%d seeds in %s\n", Written, Out.c_str());
  return 0;
}
