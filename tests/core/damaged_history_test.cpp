// History files (Search_List.txt, VerseHistory.txt) damaged or half-written: loading keeps what
// was read before the damage and never throws; a saving process killed at any moment leaves the
// file either as it was or as the save made it.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "core/historylist.h"
#include "tests/support/testversion.h"

namespace {

THistoryList Sample(int entries, char fill) {
  THistoryList list;
  list.Sorted = byTime;
  list.EditText = "John 3:16";
  for (int i = 0; i < entries; ++i)
    list.Insert(i, uint16_t(i * 7), std::to_string(i) + std::string(40, fill), 45000.0 + i / 7.0);
  return list;
}

void ExpectConsistent(const THistoryList& list) {
  EXPECT_EQ(list.Texts.size(), list.Times.size());
  EXPECT_EQ(list.Texts.size(), list.Places.size());
  EXPECT_LE(list.Sorted, byIndex);
  EXPECT_LE(size_t(list.Count()), THistoryList::MaxEntries);
}

TEST(DamagedHistory, EveryTruncationKeepsAPrefixOfTheEntries) {
  const std::string bytes = Sample(12, 'x').SaveToBytes();
  THistoryList original;  // as read whole: the stamps carry the file's 15 digits
  original.LoadFromBytes(bytes);
  ASSERT_EQ(original.Count(), 12);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    THistoryList list;
    list.LoadFromBytes(bytes.substr(0, cut));
    ExpectConsistent(list);
    ASSERT_LE(list.Count(), original.Count());
    // The last entry read may be the one cut inside its lines; those before it are whole.
    for (int i = 0; i + 1 < list.Count(); ++i) {
      EXPECT_EQ(list.Texts[size_t(i)], original.Texts[size_t(i)]);
      EXPECT_EQ(list.Places[size_t(i)], original.Places[size_t(i)]);
      EXPECT_EQ(list.Times[size_t(i)], original.Times[size_t(i)]);
    }
  }
}

TEST(DamagedHistory, HostileAndRandomBytesNeverThrow) {
  const std::string bytes = Sample(5, 'y').SaveToBytes();
  std::mt19937 random(99);
  std::vector<std::string> inputs = {
      "",
      "9\r\n",
      "-1\r\nx\r\n",
      "99999999999999999999\r\n\r\n",
      "0\r\n\r\n1e308 1\r\nx\r\n1e309 1\r\ny\r\n",
      "0\r\n\r\nnan 1\r\nx\r\n",
      "0\r\n\r\n 4.5E+0004 -1\r\nx\r\n 4.5E+0004 99999999999\r\ny\r\n",
      "0\r\n\r\n 4.5E+0004 65536\r\nx\r\n",
      std::string("0\r\n\0\0\0\r\n 4.5E+0004 1\r\n\0\r\n", 22),
      "1\r" + std::string(THistoryList::MaxLineLength + 10, 'L') + "\r\n",
      "1\n\n",
      "1\r\rx\r",
  };
  for (int round = 0; round < 300; ++round) {
    std::string s = bytes;
    if (round % 3 == 0)
      for (char& c : s) c = char(random());
    else
      for (int k = 0; k < 6; ++k) s[random() % s.size()] = char(random());
    inputs.push_back(s);
  }
  TTempDir dir;
  for (const std::string& input : inputs) {
    THistoryList list;
    list.LoadFromBytes(input);
    ExpectConsistent(list);
    // What was loaded saves and loads back unchanged.
    const std::string saved = list.SaveToBytes();
    THistoryList again;
    again.LoadFromBytes(saved);
    EXPECT_EQ(again.SaveToBytes(), saved);
    // Through a file as well.
    std::FILE* f = std::fopen(dir.File("VerseHistory.txt").c_str(), "wb");
    std::fwrite(input.data(), 1, input.size(), f);
    std::fclose(f);
    THistoryList fromFile;
    EXPECT_TRUE(fromFile.LoadFromFile(dir.File("VerseHistory.txt")));
    EXPECT_EQ(fromFile.SaveToBytes(), saved);
  }
  THistoryList missing;
  EXPECT_FALSE(missing.LoadFromFile(dir.File("none.txt")));
  EXPECT_EQ(missing.Count(), 0);
}

TEST(DamagedHistory, KilledSaverLeavesTheOldOrTheNewFile) {
  TTempDir dir;
  const std::string name = dir.File("Search_List.txt");
  Sample(10, 'o').SaveToFile(name);
  std::mt19937 random(4242);
  int oldSeen = 0, newSeen = 0;
  for (int round = 0; round < 60; ++round) {
    const std::string old = ReadFileBytes(name);
    const THistoryList next = Sample(6000 + int(random() % 10000), char('a' + round % 26));
    const std::string expected = next.SaveToBytes();
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        next.SaveToFile(name);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
    // Mostly short delays that land inside the save; every tenth saver is let finish.
    if (round % 10 == 9) {
      int status = 0;
      waitpid(pid, &status, 0);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    const std::string now = ReadFileBytes(name);
    if (now == old) {
      ++oldSeen;
    } else {
      ASSERT_TRUE(now == expected)
          << "round " << round << ": a partial file of " << now.size() << " bytes";
      ++newSeen;
    }
    THistoryList check;
    ASSERT_TRUE(check.LoadFromFile(name));
  }
  std::printf("killed savers: %d left the old file, %d the new one\n", oldSeen, newSeen);
  EXPECT_GT(oldSeen, 0);
  EXPECT_GT(newSeen, 0);
}

}  // namespace
