// The history entries and the history file, without a widget.
#include "core/historylist.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/eioerror.h"
#include "tests/support/testversion.h"
#include "tests/support/unprivileged.h"

namespace {

THistoryList Sample() {
  THistoryList h;
  h.Insert(0, 30, "Йоан 3:16", 45000.25);
  h.Insert(1, 10, "Битие 1:1", 45001.5);
  h.Insert(2, 20, "Псалми 22:1", 44999.75);
  h.EditText = "Йоан 3:16";
  return h;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, p - start));
    start = p + 2;
  }
  EXPECT_EQ(start, bytes.size()) << "every line ends with CR LF";
  return lines;
}

}  // namespace

TEST(HistoryList, AddUpdatesAnEntryOfAnyCaseInsteadOfAddingOne) {
  THistoryList h;
  h.SetSorted(byText);
  EXPECT_EQ(h.Add(1, "\xE9\xEE\xE0\xED", 1.0), 0);  // "йоан"
  EXPECT_EQ(h.Add(2, "abc", 2.0), 0);
  // "ЙОАН": the same word in capitals replaces the spelling, keeps one entry.
  const int i = h.Add(3, "\xC9\xCE\xC0\xCD", 3.0);
  ASSERT_EQ(h.Count(), 2);
  EXPECT_EQ(h.Texts[size_t(i)], "\xC9\xCE\xC0\xCD");
  EXPECT_EQ(h.Places[size_t(i)], 3);
  EXPECT_EQ(h.Times[size_t(i)], 3.0);
  EXPECT_EQ(h.Add(9, "", 9.0), -1);
  EXPECT_EQ(h.Count(), 2);
}

TEST(HistoryList, AddKeepsEachOrder) {
  THistoryList h;
  h.SetSorted(byTime);
  h.Add(5, "X", 1.0);
  h.Add(6, "Y", 2.0);
  h.Add(7, "Z", 3.0);
  EXPECT_EQ(h.Add(6, "Y", 4.0), 2);
  EXPECT_EQ(h.Texts, (std::vector<std::string>{"X", "Z", "Y"}));

  THistoryList p;
  p.SetSorted(byIndex);
  p.Add(10, "a", 1.0);
  p.Add(30, "b", 1.0);
  // A new place goes before the first entry whose place is not smaller.
  EXPECT_EQ(p.Add(30, "c", 1.0), 1);
  EXPECT_EQ(p.Add(20, "d", 1.0), 1);
  EXPECT_EQ(p.Texts, (std::vector<std::string>{"a", "d", "c", "b"}));
  // Moving an entry forward: it leaves its old place first.
  EXPECT_EQ(p.Add(40, "a", 1.0), 3);
  EXPECT_EQ(p.Texts, (std::vector<std::string>{"d", "c", "b", "a"}));

  THistoryList t;
  for (const char* s : {"b", "B", "a", "\xE0", "\xC0", "c"}) t.Add(0, s, 0);
  // Unsigned bytes, case-sensitive: capitals first, Cyrillic after Latin.
  EXPECT_EQ(t.Texts, (std::vector<std::string>{"B", "a", "c", "\xC0"}));
}

TEST(HistoryList, SelectionSortSwapsAsDescribed) {
  THistoryList h;
  h.Insert(0, 5, "A", 1);
  h.Insert(1, 3, "B", 2);
  h.Insert(2, 5, "C", 3);
  h.Insert(3, 3, "D", 4);
  h.SetSorted(byIndex);
  // j=0 takes B (first 3), j=1 takes D by swapping it with A, C stays before A.
  EXPECT_EQ(h.Texts, (std::vector<std::string>{"B", "D", "C", "A"}));
  EXPECT_EQ(h.Places, (std::vector<uint16_t>{3, 3, 5, 5}));
  EXPECT_EQ(h.Times, (std::vector<double>{2, 4, 3, 1}));
  h.SetSorted(byTime);
  EXPECT_EQ(h.Texts, (std::vector<std::string>{"A", "B", "C", "D"}));
}

TEST(HistoryList, PositionsAndTimeNeighbours) {
  THistoryList h;
  EXPECT_EQ(h.TextPosition("x"), 0);
  EXPECT_EQ(h.PreviousByTime(5), -1);
  h.Insert(0, 1, "a", 0);  // a zero stamp is never a neighbour
  h.Insert(1, 2, "b", 2);
  h.Insert(2, 3, "c", 4);
  h.Insert(3, 4, "d", 4);
  h.Insert(4, 5, "e", 1e21);  // nor a stamp from beyond any date
  EXPECT_EQ(h.PreviousByTime(4), 1);
  EXPECT_EQ(h.PreviousByTime(5), 2);  // the first of the two latest
  EXPECT_EQ(h.PreviousByTime(2), -1);
  EXPECT_EQ(h.NextByTime(2), 2);
  EXPECT_EQ(h.NextByTime(4), -1);
  EXPECT_EQ(h.TimePosition(3), 2);
  EXPECT_EQ(h.PlacePosition(6), 5);
  EXPECT_EQ(h.TextPosition("c"), 2);
  EXPECT_EQ(h.TextPosition("zz"), 5);
}

TEST(HistoryList, TimeStampNotation) {
  EXPECT_EQ(FormatTimeStamp(45000.5), " 4.50005000000000E+0004");
  EXPECT_EQ(FormatTimeStamp(0), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatTimeStamp(-1.25), "-1.25000000000000E+0000");
  EXPECT_EQ(FormatTimeStamp(0.00001), " 1.00000000000000E-0005");
  EXPECT_EQ(FormatTimeStamp(45123.456789012345).size(), 23u);
  EXPECT_EQ(FormatTimeStamp(std::numeric_limits<double>::quiet_NaN()), FormatTimeStamp(0));
  double t = 0;
  for (const char* s :
       {"45000.5", " 4.50005000000000E+0004", "4.50005e4", "+45000.50", "45000.5 "}) {
    ASSERT_TRUE(ParseTimeStamp(s, t)) << s;
    EXPECT_DOUBLE_EQ(t, 45000.5) << s;
  }
  for (const char* s : {"", "abc", "nan", "inf", "-inf", "1.5x", "+-1", "0x10"})
    EXPECT_FALSE(ParseTimeStamp(s, t)) << s;
  // Fourteen digits after the point keep a stamp to well under a second.
  const double now = DateTimeNow();
  ASSERT_TRUE(ParseTimeStamp(FormatTimeStamp(now), t));
  EXPECT_NEAR(t, now, 1e-9);
  EXPECT_GT(now, 44000.0);  // after 2020
}

TEST(HistoryList, SaveWritesTheFormatAndLoadReadsItBack) {
  const THistoryList h = Sample();
  const std::vector<std::string> lines = Lines(h.SaveToBytes());
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "0");
  EXPECT_EQ(lines[1], "Йоан 3:16");
  EXPECT_EQ(lines[2], " 4.50002500000000E+0004 30");
  EXPECT_EQ(lines[3], "Йоан 3:16");
  EXPECT_EQ(lines[7], "Псалми 22:1");

  TTempDir dir;
  h.SaveToFile(dir.File("VerseHistory.txt"));
  THistoryList back;
  back.Sorted = byIndex;
  ASSERT_TRUE(back.LoadFromFile(dir.File("VerseHistory.txt")));
  EXPECT_EQ(back.Sorted, byText);
  EXPECT_EQ(back.EditText, h.EditText);
  EXPECT_EQ(back.Texts, h.Texts);  // the file's order, not re-sorted
  EXPECT_EQ(back.Places, h.Places);
  EXPECT_EQ(back.Times, h.Times);
  EXPECT_FALSE(std::filesystem::exists(dir.File("VerseHistory.txt.tmp")));
}

TEST(HistoryList, ReadingAcceptsOtherNotationsAndLineEnds) {
  THistoryList h;
  h.LoadFromBytes("2\nedit\n45000.5 70000\nfirst\r\n4.5E4   7 trailing\rsecond\n");
  EXPECT_EQ(h.Sorted, byIndex);
  EXPECT_EQ(h.EditText, "edit");
  ASSERT_EQ(h.Count(), 2);
  EXPECT_EQ(h.Places[0], 70000 & 0xFFFF);
  EXPECT_EQ(h.Texts[1], "second");
  EXPECT_EQ(h.Times[1], 45000.0);

  h.LoadFromBytes("1\r\n\r\n");  // only the two header lines
  EXPECT_EQ(h.Sorted, byTime);
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.EditText, "");
}

TEST(HistoryList, ATextWithALineBreakStaysOneEntry) {
  THistoryList h;
  h.Insert(0, 1, "two\r\nlines", 1);
  h.Insert(1, 2, "next", 2);
  THistoryList back;
  back.LoadFromBytes(h.SaveToBytes());
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Texts[0], "two  lines");
  EXPECT_EQ(back.Texts[1], "next");
}

TEST(HistoryList, MissingFileGivesAnEmptyList) {
  THistoryList h = Sample();
  EXPECT_FALSE(h.LoadFromFile("/nonexistent/folder/Search_List.txt"));
  EXPECT_EQ(h.Count(), 0);
  EXPECT_EQ(h.EditText, "");
}

TEST(HistoryList, EveryTruncatedPrefixKeepsTheEntriesBeforeTheDamage) {
  const THistoryList full = Sample();
  const std::string bytes = full.SaveToBytes();
  for (size_t n = 0; n <= bytes.size(); ++n) {
    THistoryList h;
    h.LoadFromBytes(bytes.substr(0, n));
    ASSERT_LE(h.Count(), full.Count());
    for (int i = 0; i < h.Count(); ++i) {
      // A cut inside the last text line keeps a shorter text; every earlier entry is whole.
      if (i + 1 < h.Count()) {
        EXPECT_EQ(h.Texts[size_t(i)], full.Texts[size_t(i)]) << n;
      }
      EXPECT_EQ(h.Places[size_t(i)], full.Places[size_t(i)]) << n;
    }
  }
}

TEST(HistoryList, DamagedFilesStopTheReadingWithoutACrash) {
  const std::string good = Sample().SaveToBytes();
  THistoryList h;
  // A bad first line, a bad stamp, a bad place, and a missing text line.
  h.LoadFromBytes("x\r\nedit\r\n");
  EXPECT_EQ(h.EditText, "");
  h.LoadFromBytes("7\r\nedit\r\n");
  EXPECT_EQ(h.EditText, "");
  h.LoadFromBytes("0\r\nedit\r\n 1.0E+0000 1\r\none\r\nnot-a-number 2\r\ntwo\r\n");
  EXPECT_EQ(h.Count(), 1);
  h.LoadFromBytes("0\r\nedit\r\n 1.0E+0000 1\r\none\r\n 2.0E+0000 x\r\ntwo\r\n");
  EXPECT_EQ(h.Count(), 1);
  h.LoadFromBytes("0\r\nedit\r\n 1.0E+0000 1\r\none\r\n 2.0E+0000 99999999999999999999\r\ntwo\r\n");
  EXPECT_EQ(h.Count(), 1);
  h.LoadFromBytes("0\r\nedit\r\n 1.0E+0000 1\r\none\r\n 2.0E+0000 2\r\n");
  EXPECT_EQ(h.Count(), 1);

  // A text of megabytes ends the reading where it starts.
  std::string huge = good + " 1.0E+0000 1\r\n" + std::string(3u << 20, 'a') + "\r\n" + good;
  h.LoadFromBytes(huge);
  EXPECT_EQ(h.Count(), 3);

  // Flipped bytes and binary garbage.
  std::mt19937 rng(42);
  for (int round = 0; round < 2000; ++round) {
    std::string bad = good;
    for (int k = 0; k < 1 + round % 5; ++k) bad[rng() % bad.size()] = char(rng() & 0xFF);
    h.LoadFromBytes(bad);
    ASSERT_LE(h.Count(), 3);
  }
  std::string garbage(100000, '\0');
  for (char& c : garbage) c = char(rng() & 0xFF);
  h.LoadFromBytes(garbage);
  EXPECT_LE(h.Count(), int(THistoryList::MaxEntries));
}

TEST(HistoryList, AHugeCountOfLinesStopsAtTheLimit) {
  std::string bytes = "0\r\n\r\n";
  const std::string entry = " 1.00000000000000E+0000 1\r\nw\r\n";
  bytes.reserve(bytes.size() + entry.size() * (THistoryList::MaxEntries + 100));
  for (size_t i = 0; i < THistoryList::MaxEntries + 100; ++i) bytes += entry;
  THistoryList h;
  h.LoadFromBytes(bytes);
  EXPECT_EQ(h.Count(), int(THistoryList::MaxEntries));
}

TEST(HistoryList, AFailedSaveLeavesThePreviousFile) {
  TTempDir dir;
  const std::string name = dir.File("Search_List.txt");
  Sample().SaveToFile(name);
  const std::string before = ReadFileBytes(name);
  MakeReadOnly(dir.Path());
  const bool kept = RunUnprivileged(dir.Path(), [&] {
    THistoryList other;
    other.Insert(0, 1, "new", 1);
    try {
      other.SaveToFile(name);
      return false;  // a refused write must not pass for success
    } catch (const EInOutError&) {
    }
    return ReadFileBytes(name) == before && !std::filesystem::exists(name + ".tmp");
  });
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add);
  EXPECT_TRUE(kept);

  // A target that is a folder cannot be replaced: an error, and no temporary file stays.
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_THROW(Sample().SaveToFile(dir.File("folder")), EInOutError);
  EXPECT_FALSE(std::filesystem::exists(dir.File("folder.tmp")));
}
