#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/eioerror.h"
#include "core/tfile.h"
#include "core/tinfofile.h"
#include "core/ansi.h"
#include "core/cp1251.h"
#include "core/versionwriter.h"
#include "core/dictionarywriter.h"
#include "tests/support/testversion.h"
#include "tests/support/unprivileged.h"

namespace {

void Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Pointers(std::initializer_list<int32_t> values) {
  std::string out;
  for (int32_t v : values) PutI32(out, v);
  return out;
}

// A line pair from the lines as given (each followed by CR LF unless it is the last and open).
void WriteLines(const std::string& base, const std::vector<std::string>& lines, bool lastOpen) {
  std::string data, pointers;
  for (size_t i = 0; i < lines.size(); ++i) {
    PutI32(pointers, int32_t(data.size()));
    data += lines[i];
    if (!(lastOpen && i + 1 == lines.size())) data += "\r\n";
  }
  Write(base + ".ibf", data);
  Write(base + ".ibp", pointers);
}

}  // namespace

TEST(InfoFile, MissingPairIsCreatedAndReadsEmpty) {
  TTempDir dir;
  TInfoFile pair(dir.File("X"));
  EXPECT_FALSE(pair.Failed);
  EXPECT_EQ(pair.Count(), 0);
  EXPECT_EQ(pair.ReadRecord(0), "");
  EXPECT_EQ(pair.FindLine("a"), 0);
  EXPECT_EQ(std::filesystem::file_size(dir.File("X.ibp")), 0u);
  EXPECT_EQ(ReadFileBytes(dir.File("X.ibf")), std::string("\x04\x00\xFF\xFF\xFF\xFF", 6));
}

TEST(InfoFile, RecordsOutsideTheTableAndShortRecordsAreEmpty) {
  TTempDir dir;
  // Record 0 "abc", record 1 has no record, record 2 points at the last byte of the data file.
  Write(dir.File("X.ibf"), std::string("\x03\x00" "abc" "\x00\x00" "Z", 8));
  Write(dir.File("X.ibp"), Pointers({0, -1, 7, 5}));
  TInfoFile pair(dir.File("X"));
  EXPECT_EQ(pair.Count(), 4);
  EXPECT_EQ(pair.ReadRecord(0), "abc");
  EXPECT_EQ(pair.ReadBlock(0), std::vector<unsigned char>({'a', 'b', 'c'}));
  for (int32_t i : {-1, 1, 2, 3, 4}) {
    EXPECT_EQ(pair.RecordLength(i), 0) << i;
    EXPECT_EQ(pair.ReadRecord(i), "") << i;
    EXPECT_TRUE(pair.ReadBlock(i).empty()) << i;
  }
  EXPECT_EQ(pair.ReadPointer(-1), -1);
  EXPECT_EQ(pair.ReadPointer(4), -1);
}

TEST(InfoFile, RecordRunningPastTheEndRaisesTheInputOutputError) {
  TTempDir dir;
  Write(dir.File("X.ibf"), std::string("\xFF\x00" "abc", 5));
  Write(dir.File("X.ibp"), Pointers({0}));
  TInfoFile pair(dir.File("X"));
  try {
    pair.ReadRecord(0);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, ioReadBeyondEnd);
    EXPECT_NE(std::string(e.what()).find("X.ibf"), std::string::npos);
  }
  EXPECT_THROW(pair.ReadBlock(0), EInOutError);
}

TEST(InfoFile, LinesAreReadWholeInBlocks) {
  TTempDir dir;
  const std::string l255(255, 'q'), l300(300, 'w');
  WriteLines(dir.File("L"), {"alpha", l255, l300, "omega"}, true);
  TInfoFile pair(dir.File("L"));
  EXPECT_EQ(pair.ReadLine(0), "alpha");
  EXPECT_EQ(pair.ReadLine(1), l255);
  EXPECT_EQ(pair.ReadLine(2), l300);
  EXPECT_EQ(pair.ReadLine(3), "omega");  // the last line has no CR
  EXPECT_EQ(pair.ReadLine(4), "");
  EXPECT_EQ(pair.ReadLine(-1), "");
}

TEST(InfoFile, FindLineIsACaseInsensitiveLowerBound) {
  TTempDir dir;
  const std::vector<std::string> words = {"aaron", "abel", "Abraham", "god", "lord", "zion",
                                          Utf8ToCp1251("бог"), Utf8ToCp1251("йоан")};
  WriteLines(dir.File("W"), words, false);
  TInfoFile pair(dir.File("W"));
  EXPECT_EQ(pair.FindLine(""), 0);
  EXPECT_EQ(pair.FindLine("a"), 0);
  EXPECT_EQ(pair.FindLine("ABEL"), 1);
  EXPECT_EQ(pair.FindLine("abraham"), 2);
  EXPECT_EQ(pair.FindLine("abrahamic"), 3);
  EXPECT_EQ(pair.FindLine("Lord"), 4);
  EXPECT_EQ(pair.FindLine(Utf8ToCp1251("БОГ")), 6);
  EXPECT_EQ(pair.FindLine(Utf8ToCp1251("Йоан")), 7);
  EXPECT_EQ(pair.FindLine(Utf8ToCp1251("яков")), 8);
  // Every prefix of the list finds the lower bound that a linear scan finds.
  for (size_t n = 0; n <= words.size(); ++n) {
    WriteLines(dir.File("P"), std::vector<std::string>(words.begin(), words.begin() + long(n)),
               false);
    TInfoFile prefix(dir.File("P"));
    for (const auto& probe : {std::string("b"), std::string("lord"), std::string("zz"),
                              Utf8ToCp1251("в")}) {
      int32_t expected = 0;
      while (size_t(expected) < n && AnsiCompareText(words[size_t(expected)], probe) < 0)
        ++expected;
      EXPECT_EQ(prefix.FindLine(probe), expected) << n << " " << probe;
    }
  }
}

TEST(InfoFile, ReadOnlyFolderStillReadsAndCreatesNothing) {
  TTempDir dir;
  std::filesystem::create_directory(dir.File("ro"));
  WriteRecordPair(dir.File("ro/X.ibp"), dir.File("ro/X.ibf"), {"title", "article"});
  MakeReadOnly(dir.File("ro"));
  const std::string folder = dir.File("ro/");
  EXPECT_TRUE(RunUnprivileged(folder, [folder] {
    TInfoFile pair(folder + "X");
    TInfoFile missing(folder + "Y");
    return !pair.Failed && pair.ReadRecord(1) == "article" && missing.Failed &&
           missing.Count() == 0 && missing.FindLine("a") == -1 && missing.ReadLine(0).empty() &&
           !FileExists(folder + "Y.ibp") && !FileExists(folder + "Y.ibf");
  }));
}

TEST(InfoFile, PointerFileWithoutDataFileInReadOnlyFolderFailsAndKeepsThePointerFile) {
  TTempDir dir;
  std::filesystem::create_directory(dir.File("ro"));
  Write(dir.File("ro/X.ibp"), Pointers({0}));
  MakeReadOnly(dir.File("ro"));
  const std::string folder = dir.File("ro/");
  EXPECT_TRUE(RunUnprivileged(folder, [folder] {
    TInfoFile pair(folder + "X");
    return pair.Failed && pair.ReadRecord(0).empty() && FileExists(folder + "X.ibp");
  }));
}
