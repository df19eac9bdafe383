// The private-profile layer: names without case, trimming, quotes, limits, in-place edits, atomic
// replacement and refused writes, garbled files.

#include "settings/tinifile.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "tests/settings/tempfolder.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  TempFolder Folder;
  std::string Name = Folder.File("bible.ini");
  TIniFile Ini{Name};

  std::vector<std::string> TempFiles() const {
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(Folder.Path)) {
      std::string n = e.path().filename().string();
      if (n != "bible.ini") names.push_back(n);
    }
    return names;
  }
};

TEST_F(IniFileTest, MissingFileReadsDefaultsAndIsNotCreated) {
  EXPECT_EQ(Ini.ReadString("MainWindow", "FontName", "dflt"), "dflt");
  EXPECT_EQ(Ini.ReadInteger("MainWindow", "FontSize", 17), 17);
  EXPECT_TRUE(Ini.ReadBool("MainWindow", "Flag", true));
  EXPECT_TRUE(Ini.ReadSection("MainWindow").empty());
  EXPECT_FALSE(Ini.SectionExists("MainWindow"));
  Ini.EraseSection("MainWindow");
  Ini.DeleteKey("MainWindow", "FontName");
  EXPECT_FALSE(std::filesystem::exists(Name));
}

TEST_F(IniFileTest, WriteCreatesTheFileWithCrLf) {
  Ini.WriteString("MainWindow", "FontName", "Times New Roman");
  Ini.WriteInteger("MainWindow", "FontSize", 12);
  Ini.WriteBool("MainWindow", "CheckClipboard", true);
  Ini.WriteBool("MainWindow", "AutoKeybd", false);
  EXPECT_EQ(ReadAll(Name),
            "[MainWindow]\r\nFontName=Times New Roman\r\nFontSize=12\r\nCheckClipboard=1\r\n"
            "AutoKeybd=0\r\n");
  EXPECT_EQ(Ini.ReadString("MainWindow", "FontName", ""), "Times New Roman");
  EXPECT_EQ(Ini.ReadInteger("MainWindow", "FontSize", 0), 12);
  EXPECT_TRUE(Ini.ReadBool("MainWindow", "CheckClipboard", false));
  EXPECT_FALSE(Ini.ReadBool("MainWindow", "AutoKeybd", true));
  EXPECT_TRUE(Ini.SectionExists("MainWindow"));
  EXPECT_TRUE(TempFiles().empty());
}

TEST_F(IniFileTest, ExistingKeyIsReplacedInPlaceAndOtherLinesKept) {
  WriteAll(Name,
           "; a comment\r\n"
           "[A]\r\n"
           "x=1\r\n"
           "just text\r\n"
           "\r\n"
           "y=2\r\n"
           "\r\n"
           "[B]\r\n"
           "x=3\r\n");
  Ini.WriteString("A", "y", "22");
  Ini.WriteString("B", "x", "33");
  EXPECT_EQ(ReadAll(Name),
            "; a comment\r\n[A]\r\nx=1\r\njust text\r\n\r\ny=22\r\n\r\n[B]\r\nx=33\r\n");
}

TEST_F(IniFileTest, NewKeyGoesAtTheEndOfItsSectionAndNewSectionAtTheEndOfTheFile) {
  WriteAll(Name, "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  Ini.WriteString("A", "z", "3");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n");
  Ini.WriteString("B", "w", "4");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nw=4\r\n");
  Ini.WriteString("KJV\\Font", "FontName", "Arial");
  EXPECT_EQ(ReadAll(Name),
            "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\nw=4\r\n\r\n[KJV\\Font]\r\nFontName=Arial\r\n");
  EXPECT_EQ(Ini.ReadString("kjv\\font", "fontname", ""), "Arial");
  // An empty section gets its first key right after the header.
  WriteAll(Name, "[A]\r\n\r\n[B]\r\n");
  Ini.WriteString("A", "k", "v");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nk=v\r\n\r\n[B]\r\n");
}

TEST_F(IniFileTest, NamesCompareWithoutCaseInAsciiAndWindows1251) {
  // "[ГЛАВНО]" / "КЛЮЧ" in windows-1251 upper case, looked up in lower case.
  const std::string upperSection = "\xC3\xCB\xC0\xC2\xCD\xCE";
  const std::string lowerSection = "\xE3\xEB\xE0\xE2\xED\xEE";
  const std::string upperKey = "\xCA\xCB\xDE\xD7\xA8";  // КЛЮЧЁ
  const std::string lowerKey = "\xEA\xEB\xFE\xF7\xB8";  // ключё
  WriteAll(Name, "[" + upperSection + "]\r\n" + upperKey + "=value\r\nMixed=m\r\n");
  EXPECT_EQ(Ini.ReadString(lowerSection, lowerKey, ""), "value");
  EXPECT_EQ(Ini.ReadString(lowerSection, "mIXED", ""), "m");
  EXPECT_TRUE(Ini.SectionExists(lowerSection));
  EXPECT_EQ(Ini.ReadSection(lowerSection), (std::vector<std::string>{upperKey, "Mixed"}));
  // A write through the other case replaces the line and keeps the file's spelling of the key.
  Ini.WriteString(lowerSection, lowerKey, "new");
  EXPECT_EQ(ReadAll(Name), "[" + upperSection + "]\r\n" + upperKey + "=new\r\nMixed=m\r\n");
  Ini.DeleteKey(lowerSection, "MIXED");
  EXPECT_EQ(ReadAll(Name), "[" + upperSection + "]\r\n" + upperKey + "=new\r\n");
  Ini.EraseSection(lowerSection);
  EXPECT_EQ(ReadAll(Name), "");
  // Different letters stay different: "е" is not "ё".
  WriteAll(Name, "[S]\r\n\xE5=1\r\n");
  EXPECT_EQ(Ini.ReadString("S", "\xB8", "none"), "none");
}

TEST_F(IniFileTest, ValuesAndNamesAreTrimmed) {
  WriteAll(Name, "  [  Main Window  ]  \r\n \t key name \t=  \t value with  spaces \t \r\n");
  EXPECT_EQ(Ini.ReadString("Main Window", "key name", ""), "value with  spaces");
  EXPECT_EQ(Ini.ReadString("  main window ", " KEY NAME ", ""), "value with  spaces");
  EXPECT_EQ(Ini.ReadSection("Main Window"), std::vector<std::string>{"key name"});
}

TEST_F(IniFileTest, OnePairOfMatchingQuotesIsRemoved) {
  WriteAll(Name,
           "[Q]\r\n"
           "a=\"two words\"\r\n"
           "b='single'\r\n"
           "c=\"mixed'\r\n"
           "d=\"\r\n"
           "e=\"\"\r\n"
           "f=\"\"inner\"\"\r\n"
           "g=  \"  kept spaces  \"  \r\n"
           "h=no\"quotes\"\r\n");
  EXPECT_EQ(Ini.ReadString("Q", "a", "?"), "two words");
  EXPECT_EQ(Ini.ReadString("Q", "b", "?"), "single");
  EXPECT_EQ(Ini.ReadString("Q", "c", "?"), "\"mixed'");
  EXPECT_EQ(Ini.ReadString("Q", "d", "?"), "\"");
  EXPECT_EQ(Ini.ReadString("Q", "e", "?"), "");
  EXPECT_EQ(Ini.ReadString("Q", "f", "?"), "\"inner\"");
  EXPECT_EQ(Ini.ReadString("Q", "g", "?"), "  kept spaces  ");
  EXPECT_EQ(Ini.ReadString("Q", "h", "?"), "no\"quotes\"");
}

TEST_F(IniFileTest, ValueLongerThan2047BytesIsCut) {
  std::string exact(2047, 'a');
  std::string longer(5000, 'b');
  std::string quoted = "\"" + std::string(2048, 'c') + "\"";
  WriteAll(Name,
           "[L]\r\nexact=" + exact + "\r\nlonger=" + longer + "\r\nquoted=" + quoted + "\r\n");
  EXPECT_EQ(Ini.ReadString("L", "exact", ""), exact);
  EXPECT_EQ(Ini.ReadString("L", "longer", ""), std::string(2047, 'b'));
  EXPECT_EQ(Ini.ReadString("L", "quoted", ""), std::string(2047, 'c'));
  // The value is written whole; only the read cuts it.
  Ini.WriteString("L", "written", longer);
  EXPECT_NE(ReadAll(Name).find(longer), std::string::npos);
  EXPECT_EQ(Ini.ReadString("L", "written", "").size(), 2047u);
}

TEST_F(IniFileTest, KeyNamesOfASectionAreReadUpTo16384Bytes) {
  // 200 names of 99 bytes: each takes 100 bytes with its zero byte, so 163 fit (16 300 bytes) and
  // the 164th (16 400) does not.
  std::string text = "[Many]\r\n";
  std::vector<std::string> names;
  for (int i = 0; i < 200; ++i) {
    std::string n = std::to_string(1000 + i) + std::string(95, 'k');
    names.push_back(n);
    text += n + "=" + std::to_string(i) + "\r\n";
  }
  WriteAll(Name, text + "[Other]\r\nq=1\r\n");
  std::vector<std::string> read = Ini.ReadSection("Many");
  ASSERT_EQ(read.size(), 163u);
  EXPECT_EQ(read, std::vector<std::string>(names.begin(), names.begin() + 163));
  // Every key is still readable one by one.
  EXPECT_EQ(Ini.ReadString("Many", names[199], ""), "199");

  // Exactly 16 384 bytes: 128 names of 127 bytes all fit.
  text = "[Exact]\r\n";
  for (int i = 0; i < 129; ++i) text += std::to_string(100 + i) + std::string(124, 'e') + "=1\r\n";
  WriteAll(Name, text);
  EXPECT_EQ(Ini.ReadSection("Exact").size(), 128u);
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
  WriteAll(Name, "[A]\r\nx=1\r\n;c\r\n[B]\r\ny=2\r\nz=3\r\n[a]\r\nw=4\r\n[C]\r\n");
  Ini.DeleteKey("B", "y");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nx=1\r\n;c\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n[C]\r\n");
  Ini.DeleteKey("B", "missing");
  Ini.DeleteKey("Missing", "z");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nx=1\r\n;c\r\n[B]\r\nz=3\r\n[a]\r\nw=4\r\n[C]\r\n");
  // Both sections named "a" go, with their lines.
  Ini.EraseSection("A");
  EXPECT_EQ(ReadAll(Name), "[B]\r\nz=3\r\n[C]\r\n");
  EXPECT_FALSE(Ini.SectionExists("A"));
  EXPECT_EQ(Ini.ReadString("A", "w", "gone"), "gone");
}

TEST_F(IniFileTest, FirstSectionOfANameIsTheOneUsed) {
  WriteAll(Name, "[S]\r\nk=first\r\nk=second\r\n[s]\r\nk=third\r\nonly=here\r\n");
  EXPECT_EQ(Ini.ReadString("S", "k", ""), "first");
  EXPECT_EQ(Ini.ReadString("S", "only", "dflt"), "dflt");
  EXPECT_EQ(Ini.ReadSection("S"), (std::vector<std::string>{"k", "k"}));
}

TEST_F(IniFileTest, ReadsLfAndWritesCrLf) {
  WriteAll(Name, "[A]\nx=1\ny=2\n\n[B]\nz=3");
  EXPECT_EQ(Ini.ReadString("A", "y", ""), "2");
  EXPECT_EQ(Ini.ReadString("B", "z", ""), "3");
  Ini.WriteString("B", "z", "4");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=4\r\n");
}

TEST_F(IniFileTest, LineBreakInAWrittenValueEndsIt) {
  Ini.WriteString("A", "k", "one\r\n[B]\r\nx=2");
  EXPECT_EQ(ReadAll(Name), "[A]\r\nk=one\r\n");
  EXPECT_FALSE(Ini.SectionExists("B"));
  Ini.WriteString("A", std::string("k\0junk", 6), std::string("v\0w", 3));
  EXPECT_EQ(Ini.ReadString("A", "k", ""), "v");
}

TEST_F(IniFileTest, IntegersParseLikeStrToIntDef) {
  WriteAll(Name,
           "[N]\r\n"
           "dec=42\r\nneg=-17\r\npos=+5\r\nhex1=$1F\r\nhex2=0x1f\r\nhex3=0X10\r\nall=$FFFFFFFF\r\n"
           "min=-2147483648\r\nmax=2147483647\r\nover=2147483648\r\nunder=-2147483649\r\n"
           "hexover=$100000000\r\nword=abc\r\ntail=12abc\r\nempty=\r\nsign=-\r\ndollar=$\r\n"
           "ox=0x\r\nspace=1 2\r\nquoted=\"7\"\r\nneghex=-$10\r\nfloat=1.5\r\n");
  auto r = [&](const char* key) { return Ini.ReadInteger("N", key, -999); };
  EXPECT_EQ(r("dec"), 42);
  EXPECT_EQ(r("neg"), -17);
  EXPECT_EQ(r("pos"), 5);
  EXPECT_EQ(r("hex1"), 31);
  EXPECT_EQ(r("hex2"), 31);
  EXPECT_EQ(r("hex3"), 16);
  EXPECT_EQ(r("all"), -1);
  EXPECT_EQ(r("min"), -2147483647 - 1);
  EXPECT_EQ(r("max"), 2147483647);
  EXPECT_EQ(r("over"), -999);
  EXPECT_EQ(r("under"), -999);
  EXPECT_EQ(r("hexover"), -999);
  EXPECT_EQ(r("word"), -999);
  EXPECT_EQ(r("tail"), -999);
  EXPECT_EQ(r("empty"), -999);
  EXPECT_EQ(r("sign"), -999);
  EXPECT_EQ(r("dollar"), -999);
  EXPECT_EQ(r("ox"), -999);
  EXPECT_EQ(r("space"), -999);
  EXPECT_EQ(r("quoted"), 7);  // the quotes go before the number is read
  EXPECT_EQ(r("neghex"), -16);
  EXPECT_EQ(r("float"), -999);
  EXPECT_EQ(r("missing"), -999);
}

TEST_F(IniFileTest, BooleansAreAnyIntegerOtherThanZero) {
  WriteAll(Name, "[B]\r\none=1\r\nzero=0\r\nfive=5\r\nminus=-1\r\nhex=$0\r\nword=yes\r\n");
  EXPECT_TRUE(Ini.ReadBool("B", "one", false));
  EXPECT_FALSE(Ini.ReadBool("B", "zero", true));
  EXPECT_TRUE(Ini.ReadBool("B", "five", false));
  EXPECT_TRUE(Ini.ReadBool("B", "minus", false));
  EXPECT_FALSE(Ini.ReadBool("B", "hex", true));
  EXPECT_TRUE(Ini.ReadBool("B", "word", true));
  EXPECT_FALSE(Ini.ReadBool("B", "word", false));
}

TEST_F(IniFileTest, SectionExistsWhenItHasKeys) {
  WriteAll(Name, "[Empty]\r\n; only a comment\r\n[Full]\r\nk=\r\n");
  EXPECT_FALSE(Ini.SectionExists("Empty"));
  EXPECT_TRUE(Ini.SectionExists("full"));
  EXPECT_EQ(Ini.ReadString("Full", "k", "dflt"), "");
}

TEST_F(IniFileTest, EveryCallGoesToTheFile) {
  TIniFile other(Name);
  Ini.WriteString("S", "k", "1");
  EXPECT_EQ(other.ReadString("S", "k", ""), "1");
  other.WriteString("S", "k", "2");
  EXPECT_EQ(Ini.ReadString("S", "k", ""), "2");
  WriteAll(Name, "[S]\r\nk=3\r\n");
  EXPECT_EQ(Ini.ReadString("S", "k", ""), "3");
  std::filesystem::remove(Name);
  EXPECT_EQ(Ini.ReadString("S", "k", "gone"), "gone");
}

TEST_F(IniFileTest, WriteKeepsTheFileModeAndFollowsASymbolicLink) {
  WriteAll(Name, "[S]\r\nk=1\r\n");
  ::chmod(Name.c_str(), 0640);
  Ini.WriteString("S", "k", "2");
  struct stat st;
  ASSERT_EQ(::stat(Name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  std::string link = Folder.File("link.ini");
  std::filesystem::create_symlink("bible.ini", link);
  TIniFile viaLink(link);
  viaLink.WriteString("S", "k", "3");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadAll(Name), "[S]\r\nk=3\r\n");
}

TEST_F(IniFileTest, WriteIntoAMissingFolderRaises) {
  std::string name = Folder.File("no/such/folder/bible.ini");
  TIniFile ini(name);
  try {
    ini.WriteString("S", "k", "v");
    FAIL() << "no exception";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + name);
    EXPECT_EQ(e.FileName, name);
  }
}

// Runs fn in a child process and returns what it reported. As root, the child first becomes an
// unprivileged user, so that folder permissions apply to it; "skip" when that is not allowed.
template <typename Fn>
std::string InChild(bool dropPrivileges, Fn fn) {
  int fds[2];
  if (pipe(fds) != 0) return "pipe failed";
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    std::string report;
    if (dropPrivileges && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
      report = "skip";
    } else {
      report = fn();
    }
    (void)!write(fds[1], report.data(), report.size());
    _exit(0);
  }
  close(fds[1]);
  std::string report;
  char buffer[4096];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) report.append(buffer, size_t(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return report;
}

std::string TryWrite(const std::string& name, const std::string& value) {
  try {
    TIniFile(name).WriteString("S", "k", value);
    return "written";
  } catch (const EIniFileException& e) {
    return e.what();
  } catch (...) {
    return "other exception";
  }
}

TEST_F(IniFileTest, ReadOnlyFolderRaisesAndLeavesTheOldFile) {
  std::string dir = Folder.File("ro");
  std::filesystem::create_directory(dir);
  std::string name = dir + "/bible.ini";
  const std::string old = "; old\r\n[S]\r\nk=old\r\n";
  WriteAll(name, old);
  ::chmod(name.c_str(), 0644);
  ::chmod(Folder.Path.c_str(), 0755);
  ::chmod(dir.c_str(), 0555);
  std::string report = InChild(true, [&] { return TryWrite(name, "new"); });
  ::chmod(dir.c_str(), 0755);
  if (report == "skip") GTEST_SKIP() << "cannot drop root privileges here";
  EXPECT_EQ(report, "Unable to write to " + name);
  EXPECT_EQ(ReadAll(name), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                          std::filesystem::directory_iterator()),
            1);
  // EraseSection and DeleteKey refuse the same way.
  ::chmod(dir.c_str(), 0555);
  report = InChild(true, [&] {
    try {
      TIniFile ini(name);
      ini.EraseSection("S");
      return std::string("erased");
    } catch (const EIniFileException& e) {
      return std::string(e.what());
    }
  });
  ::chmod(dir.c_str(), 0755);
  EXPECT_EQ(report, "Unable to write to " + name);
  EXPECT_EQ(ReadAll(name), old);
}

TEST_F(IniFileTest, FullDiskRaisesAndLeavesTheOldFile) {
  const std::string old = "[S]\r\nk=old\r\n";
  WriteAll(Name, old);
  // A file-size limit makes the write fail the way a full disk does (EFBIG instead of ENOSPC).
  std::string report = InChild(false, [&] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    return TryWrite(Name, std::string(100000, 'x'));
  });
  EXPECT_EQ(report, "Unable to write to " + Name);
  EXPECT_EQ(ReadAll(Name), old);
  EXPECT_TRUE(TempFiles().empty());
}

// --- Garbled files
// --------------------------------------------------------------------------------

void ExerciseEverything(TIniFile& ini) {
  ini.ReadString("MainWindow", "FontName", "d");
  ini.ReadInteger("MainWindow", "FontSize", 8);
  ini.ReadBool("MainWindow", "X", false);
  ini.ReadSection("MainWindow");
  ini.ReadSection("");
  ini.SectionExists("Bible0");
  TFont font;
  ini.ReadFont("MainWindow", font);
  TFormPlacement placement;
  ini.ReadFormPlacement("MainWindow", placement);
}

TEST_F(IniFileTest, GarbledFilesNeverCrash) {
  std::mt19937 random(12345);
  for (int round = 0; round < 200; ++round) {
    size_t size = random() % (round < 100 ? 200 : 20000);
    std::string garbage(size, '\0');
    for (char& c : garbage) {
      // Many structural bytes so that brackets, "=" and line ends meet in odd ways.
      static const char special[] = "[]=;\r\n\"' \t\0";
      c = random() % 3 == 0 ? special[random() % (sizeof special - 1)] : char(random());
    }
    WriteAll(Name, garbage);
    ExerciseEverything(Ini);
    if (round % 8 != 0) continue;  // writes (each one flushed to the disk) on some rounds only
    Ini.WriteString("MainWindow", "FontName", "Arial");
    EXPECT_EQ(Ini.ReadString("MainWindow", "FontName", ""), "Arial") << "round " << round;
    ExerciseEverything(Ini);
    Ini.DeleteKey("MainWindow", "FontName");
    Ini.EraseSection("MainWindow");
    EXPECT_EQ(Ini.ReadString("MainWindow", "FontName", "gone"), "gone") << "round " << round;
  }
}

TEST_F(IniFileTest, UnparsableLinesMatchNothingAndAreKept) {
  using namespace std::string_literals;
  const std::string garbage =
      "[Main\r\nA=1\r\n]\r\n[\r\n=\r\n[]x=1\r\n\0\0\0=\0\r\n\xFF\xFE\x00\x01"s;
  WriteAll(Name, "[Main]\r\nA=0\r\n" + garbage);
  // "[Main" has no "]": it is no header, so "A=1" after it still belongs to the first [Main].
  EXPECT_EQ(Ini.ReadString("Main", "A", ""), "0");
  // "A" twice; the empty name of "=" is not listed; "[]x=1" opens a section named "".
  EXPECT_EQ(Ini.ReadSection("Main"), (std::vector<std::string>{"A", "A"}));
  EXPECT_EQ(Ini.ReadSection("").size(), 1u);
  Ini.WriteString("Other", "k", "v");
  std::string data = ReadAll(Name);
  EXPECT_EQ(data.substr(0, 13 + garbage.size()), "[Main]\r\nA=0\r\n" + garbage);
  EXPECT_EQ(Ini.ReadString("Other", "k", ""), "v");
}

TEST_F(IniFileTest, HugeLinesAndNulBytes) {
  std::string huge(8 << 20, 'x');
  WriteAll(Name, "[S]\r\n" + huge + "\r\nk=" + huge + "\r\n" + std::string(1000, '\0') + "\r\n");
  EXPECT_EQ(Ini.ReadString("S", "k", ""), std::string(2047, 'x'));
  EXPECT_EQ(Ini.ReadSection("S"), std::vector<std::string>{"k"});
  Ini.WriteString("S", "k", "short");
  EXPECT_EQ(Ini.ReadString("S", "k", ""), "short");
  EXPECT_EQ(ReadAll(Name).size(), 5 + huge.size() + 2 + 9 + 1000 + 2);
}

TEST_F(IniFileTest, AFolderInPlaceOfTheFileReadsAsMissing) {
  std::filesystem::create_directory(Name);
  EXPECT_EQ(Ini.ReadString("S", "k", "dflt"), "dflt");
  EXPECT_THROW(Ini.WriteString("S", "k", "v"), EIniFileException);
}

}  // namespace
