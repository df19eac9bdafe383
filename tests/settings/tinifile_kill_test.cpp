// A writer killed at any moment leaves the settings file either as it was or as the write made it,
// never partly written.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "settings/tinifile.h"
#include "tests/settings/tempfolder.h"

namespace {

TEST(IniFileKill, KilledWriterLeavesTheOldOrTheNewFile) {
  TempFolder folder;
  const std::string name = folder.File("bible.ini");
  const std::string scratch = folder.File("scratch.ini");
  {
    TIniFile ini(name);
    ini.WriteString("MainWindow", "FontName", "Arial");
    ini.WriteString("Big", "Value", std::string(100000, '-'));
    ini.WriteString("Tail", "Key", "kept");
  }
  std::mt19937 random(20240611);
  int oldSeen = 0, newSeen = 0;
  const int rounds = 120;
  for (int round = 0; round < rounds; ++round) {
    const std::string old = ReadAll(name);
    const std::string value =
        std::to_string(round) + std::string(500000 + random() % 1500000, char('a' + round % 26));
    // The file that a completed write makes, computed on a copy.
    WriteAll(scratch, old);
    TIniFile(scratch).WriteString("Big", "Value", value);
    const std::string expected = ReadAll(scratch);

    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      try {
        TIniFile(name).WriteString("Big", "Value", value);
      } catch (...) {
        _exit(1);
      }
      _exit(0);
    }
    // Mostly short delays that land inside the write; every tenth writer is let finish, so that
    // both outcomes occur however slow the machine is.
    int status = 0;
    if (round % 10 == 9) {
      waitpid(pid, &status, 0);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }

    const std::string now = ReadAll(name);
    if (now == old) {
      ++oldSeen;
    } else {
      ASSERT_TRUE(now == expected)
          << "round " << round << ": a partial file of " << now.size() << " bytes (old "
          << old.size() << ", new " << expected.size() << ")";
      ++newSeen;
    }
    ASSERT_EQ(TIniFile(name).ReadString("Tail", "Key", ""), "kept");
  }
  std::printf("killed writers: %d left the old file, %d the new one\n", oldSeen, newSeen);
  EXPECT_GT(oldSeen, 0);
  EXPECT_GT(newSeen, 0);
}

}  // namespace
