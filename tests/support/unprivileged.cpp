#include "tests/support/unprivileged.h"

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

void MakeReadOnly(const std::string& folder) {
  std::error_code ec;
  for (auto& entry : fs::recursive_directory_iterator(folder, ec)) {
    if (entry.is_directory(ec))
      fs::permissions(entry.path(), fs::perms(0555), ec);
    else
      fs::permissions(entry.path(), fs::perms(0444), ec);
  }
  fs::permissions(folder, fs::perms(0555), ec);
}

bool RunUnprivileged(const std::string& folder, const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  // The temporary folder's parents must be passable for the unprivileged child.
  std::error_code ec;
  for (fs::path p = fs::path(folder).parent_path(); !p.empty() && p != p.root_path();
       p = p.parent_path())
    if (p.string().find("bibletest-") != std::string::npos)
      fs::permissions(p, fs::perms(0755), fs::perm_options::add, ec);
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
