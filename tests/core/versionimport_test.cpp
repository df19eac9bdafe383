#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/versionimport.h"
#include "tests/support/testversion.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

// Files are recognised by their bytes, not their names; each kind leads to its command.
TEST(VersionImport, DetectsSourcesByContentAndNamesTheirCommand) {
  TTempDir dir;
  Write(dir.File("lib/mods.d/x.conf"), "[X]\n");
  Write(dir.File("pack.bin"), std::string("PK\x03\x04rest", 8));
  Write(dir.File("bible.txt"), "<?xml version=\"1.0\"?>\n<XMLBIBLE biblename=\"x\">");
  Write(dir.File("books/01.xml"), "<xmlbible>");
  Write(dir.File("other.zip"), "not a zip");
  // A ZIP of USFM books is told from a SWORD package by the names in its directory.
  Write(dir.File("usfm.zip"), std::string("PK\x03\x04", 4) + "..." + std::string(2 << 20, 'x') +
                                  "PK\x01\x02" "43-JHN.usfm");
  Write(dir.File("sword.zip"), std::string("PK\x03\x04", 4) + "mods.d/kjv.conf 43-JHN.usfm");
  Write(dir.File("usfm/43JHN.SFM"), "\xEF\xBB\xBF\\id JHN\n\\c 1\n");
  Write(dir.File("osis.xml"), "<?xml version=\"1.0\"?><osis xmlns=\"http://www.bibletechnologies.net/\">");
  const std::string sqlite("SQLite format 3\0", 16);
  Write(dir.File("b.bblx"), sqlite + "CREATE TABLE Bible (Book INT, Chapter INT)");
  Write(dir.File("b.SQLite3"), sqlite + "CREATE TABLE verses (book_number NUMERIC)");
  Write(dir.File("notes.db"), sqlite + "CREATE TABLE notes (x)");
  Write(dir.File("empty/readme.xml"), "<html/>");
  EXPECT_EQ(DetectSourceKind(dir.File("lib")), TSourceKind::SwordFolder);
  EXPECT_EQ(DetectSourceKind(dir.File("pack.bin")), TSourceKind::SwordPackage);
  EXPECT_EQ(DetectSourceKind(dir.File("bible.txt")), TSourceKind::Zefania);
  EXPECT_EQ(DetectSourceKind(dir.File("books")), TSourceKind::Zefania);
  EXPECT_EQ(DetectSourceKind(dir.File("other.zip")), TSourceKind::Unknown);
  EXPECT_EQ(DetectSourceKind(dir.File("usfm.zip")), TSourceKind::Usfm);
  EXPECT_EQ(DetectSourceKind(dir.File("sword.zip")), TSourceKind::SwordPackage);
  EXPECT_EQ(DetectSourceKind(dir.File("usfm")), TSourceKind::Usfm);
  EXPECT_EQ(DetectSourceKind(dir.File("osis.xml")), TSourceKind::Osis);
  EXPECT_EQ(DetectSourceKind(dir.File("b.bblx")), TSourceKind::ESword);
  EXPECT_EQ(DetectSourceKind(dir.File("b.SQLite3")), TSourceKind::MyBible);
  EXPECT_EQ(DetectSourceKind(dir.File("notes.db")), TSourceKind::Unknown);
  EXPECT_EQ(ImportArguments(TSourceKind::MyBible, "b", 2, "/r/")[0], "import-mybible");
  EXPECT_EQ(DetectSourceKind(dir.File("empty")), TSourceKind::Unknown);
  EXPECT_EQ(DetectSourceKind(dir.File("missing")), TSourceKind::Unknown);
  // A table's name in quotes, as SQLite keeps it when the module's maker quoted it.
  Write(dir.File("m.SQLite3"), sqlite + "CREATE TABLE \"verses\" (book_number NUMERIC, text TEXT)");
  EXPECT_EQ(DetectSourceKind(dir.File("m.SQLite3")), TSourceKind::MyBible);
  EXPECT_EQ(ImportArguments(TSourceKind::ESword, "b.bblx", 3, "/r/")[0], "import-esword");
  EXPECT_EQ(ImportArguments(TSourceKind::Zefania, "b.xml", 1, "/r/"),
            (std::vector<std::string>{"import-zefania", "b.xml", "1", "/r/"}));
  EXPECT_EQ(ImportArguments(TSourceKind::SwordPackage, "p.zip", 3, "/r/")[0], "import-sword");
  EXPECT_TRUE(ImportArguments(TSourceKind::Unknown, "x", 3, "/r/").empty());
}

TEST(VersionImport, LanguagesRankAndProposeTheirVersion) {
  std::array<bool, VersionTableSize> filled{};
  EXPECT_LT(LanguageRank("bg"), LanguageRank("ru"));
  EXPECT_LT(LanguageRank("en"), LanguageRank("grc"));
  EXPECT_EQ(LanguageRank("el"), LanguageRank("grc"));
  EXPECT_LT(LanguageRank("grc"), LanguageRank("fr"));
  EXPECT_EQ(LanguageCaption("bg"), "български");
  EXPECT_EQ(LanguageCaption("de-CH"), "немски");
  EXPECT_EQ(LanguageCaption("fr"), "fr");
  EXPECT_EQ(ProposeVersion("bg", filled), 0);
  filled[0] = filled[1] = true;
  EXPECT_EQ(ProposeVersion("BG", filled), 2);
  filled[2] = true;
  EXPECT_EQ(ProposeVersion("bg", filled), 0);
  EXPECT_EQ(ProposeVersion("ru", filled), 3);
  EXPECT_EQ(ProposeVersion("la", filled), 10);
  EXPECT_EQ(ProposeVersion("de", filled), 8);
  EXPECT_EQ(ProposeVersion("grc", filled), 9);
  EXPECT_EQ(ProposeVersion("en", filled), 7);
  filled[7] = true;
  EXPECT_EQ(ProposeVersion("fr", filled), 6);
}

// The importer's lines, and what the dialog must not take for one.
TEST(VersionImport, ParsesTheImportersLines) {
  TImportEvent e = ParseImportEvent("progress 3 66 Левит\n");
  EXPECT_EQ(e.Kind, TImportEvent::Progress);
  EXPECT_EQ(e.Done, 3);
  EXPECT_EQ(e.Total, 66);
  EXPECT_EQ(e.Item, "Левит");
  e = ParseImportEvent("download 1024 3132622 Downloading (2 of 6): nt.bzv");
  EXPECT_EQ(e.Kind, TImportEvent::Download);
  EXPECT_EQ(e.Item, "Downloading (2 of 6): nt.bzv");
  EXPECT_EQ(ParseImportEvent("progress 5 5").Item, "");
  e = ParseImportEvent("failed download");
  EXPECT_EQ(e.Kind, TImportEvent::Failed);
  EXPECT_EQ(e.Item, "download");
  for (const char* bad : {"progress", "progress 1", "progress x 2 a", "progress 3 2 a",
                          "progress -1 2 a", "progress 1 2x a", "download 99999999999999999999 1",
                          "progressive 1 2 a", ""})
    EXPECT_EQ(ParseImportEvent(bad).Kind, TImportEvent::Other) << bad;

  TModuleEntry m;
  ASSERT_TRUE(ParseModuleEntry("BulVeren\tbg\t4400000\tPublic Domain\tВеренски превод\n", m));
  EXPECT_EQ(m.Name, "BulVeren");
  EXPECT_EQ(m.Size, 4400000);
  EXPECT_EQ(m.Description, "Веренски превод");
  EXPECT_FALSE(ParseModuleEntry("BulVeren\tbg\t4400000", m));
  EXPECT_FALSE(ParseModuleEntry("\tbg\t1\t\tx", m));
}
