#include "settings/tinifile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "core/ansi.h"
#include "core/tfile.h"

namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// A name or value is one C string on one line: it ends at the first CR, LF or zero byte.
std::string_view CutAtLineBreak(std::string_view s) {
  size_t p = s.find_first_of(std::string_view("\r\n\0", 3));
  return p == std::string_view::npos ? s : s.substr(0, p);
}

enum class LineKind { Other, Section, Key };

struct Line {
  std::string_view Text;  // without its line end
  LineKind Kind = LineKind::Other;
  std::string_view Name;   // trimmed section or key name
  std::string_view Value;  // trimmed value of a key line
};

Line Classify(std::string_view text) {
  Line line;
  line.Text = text;
  std::string_view t = Trim(text);
  if (t.empty()) return line;
  if (t[0] == '[') {
    size_t close = t.rfind(']');
    if (close == 0 || close == std::string_view::npos) return line;  // no "]": matches nothing
    line.Kind = LineKind::Section;
    line.Name = Trim(t.substr(1, close - 1));
    return line;
  }
  if (t[0] == ';') return line;  // comment
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.Kind = LineKind::Key;
  line.Name = Trim(t.substr(0, eq));
  line.Value = Trim(t.substr(eq + 1));
  return line;
}

// The file's lines over its bytes; a final line end does not start another line.
std::vector<Line> SplitLines(std::string_view data) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    size_t next = end == std::string_view::npos ? data.size() : end + 1;
    if (end == std::string_view::npos) end = data.size();
    size_t stop = end;
    if (stop > start && data[stop - 1] == '\r' && end < data.size()) --stop;  // CR LF
    lines.push_back(Classify(data.substr(start, stop - start)));
    start = next;
  }
  return lines;
}

constexpr size_t npos = size_t(-1);

size_t FindSection(const std::vector<Line>& lines, std::string_view name, size_t from = 0) {
  for (size_t i = from; i < lines.size(); ++i)
    if (lines[i].Kind == LineKind::Section && AnsiSameText(lines[i].Name, name)) return i;
  return npos;
}

// One past the last line of the section whose header is at index header.
size_t SectionEnd(const std::vector<Line>& lines, size_t header) {
  size_t i = header + 1;
  while (i < lines.size() && lines[i].Kind != LineKind::Section) ++i;
  return i;
}

size_t FindKey(const std::vector<Line>& lines, size_t header, std::string_view key) {
  size_t end = SectionEnd(lines, header);
  for (size_t i = header + 1; i < end; ++i)
    if (lines[i].Kind == LineKind::Key && AnsiSameText(lines[i].Name, key)) return i;
  return npos;
}

std::string JoinLines(const std::vector<std::string_view>& lines) {
  size_t size = 0;
  for (auto l : lines) size += l.size() + 2;
  std::string out;
  out.reserve(size);
  for (auto l : lines) {
    out.append(l);
    out.append("\r\n");
  }
  return out;
}

std::vector<std::string_view> TextsOf(const std::vector<Line>& lines) {
  std::vector<std::string_view> texts;
  texts.reserve(lines.size() + 3);
  for (const Line& l : lines) texts.push_back(l.Text);
  return texts;
}

// --- Atomic replacement
// ---------------------------------------------------------------------------

// The file that a write replaces: a symbolic link is followed, so that the link stays a link.
fs::path WriteTarget(const std::string& fileName) {
  fs::path p(fileName);
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}

// Temporary files are ".<name>.<pid>.<n>.tmp" beside the target; a long name is shortened so that
// the temporary name stays within the file-name limit.
std::string TempPrefix(const fs::path& target) {
  std::string base = target.filename().string();
  if (base.size() > 180) base.resize(180);
  return "." + base + ".";
}

// Removes temporary files that writers killed mid-write left behind: their process is gone and they
// are older than a minute (a writer of another machine on a shared folder is never that slow).
void RemoveStaleTemporaries(const fs::path& dir, const std::string& prefix) noexcept {
  try {
    std::error_code ec;
    auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
      std::string name = entry.path().filename().string();
      if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
          name.compare(name.size() - 4, 4, ".tmp") != 0)
        continue;
      std::string rest = name.substr(prefix.size());
      size_t dot = rest.find('.');
      if (dot == 0 || dot == std::string::npos || dot > 9) continue;
      long pid = 0;
      bool digits = true;
      for (size_t i = 0; i < dot; ++i) {
        if (rest[i] < '0' || rest[i] > '9')
          digits = false;
        else
          pid = pid * 10 + (rest[i] - '0');
      }
      if (!digits || pid <= 0 || pid == long(getpid())) continue;
      if (kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
      std::error_code tec;
      auto written = fs::last_write_time(entry.path(), tec);
      if (tec || now - written < std::chrono::minutes(1)) continue;
      fs::remove(entry.path(), tec);
    }
  } catch (...) {
  }
}

bool WriteAll(int fd, const char* p, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= size_t(w);
  }
  return true;
}

// A section or key name as the file holds it: one line, trimmed.
std::string_view NameOf(const std::string& s) { return Trim(CutAtLineBreak(s)); }

}  // namespace

void WriteFileAtomically(const std::string& fileName, const std::string& data) {
  static std::atomic<unsigned> counter{0};
  const fs::path target = WriteTarget(fileName);
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::string prefix = TempPrefix(target);

  int fd = -1;
  fs::path temp;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = dir / (prefix + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp");
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) throw EIniFileException(fileName);

  struct stat old;
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    (void)::fchmod(fd, old.st_mode & 07777);

  bool ok = WriteAll(fd, data.data(), data.size());
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    throw EIniFileException(fileName);
  }
  // Make the rename itself durable; a folder that refuses this still has the new file.
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    (void)::fsync(dfd);
    ::close(dfd);
  }
  RemoveStaleTemporaries(dir, prefix);
}

TIniFile::TIniFile(const std::string& fileName) : FFileName(fileName) {}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) {
  const std::string data = ReadFileBytes(FFileName);
  const std::vector<Line> lines = SplitLines(data);
  size_t header = FindSection(lines, NameOf(section));
  if (header == npos) return defaultValue;
  size_t k = FindKey(lines, header, NameOf(key));
  if (k == npos) return defaultValue;
  std::string_view value = lines[k].Value;
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  if (value.size() > MaxValueLength) value = value.substr(0, MaxValueLength);
  return std::string(value);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  const std::string_view sectionName = NameOf(section);
  const std::string_view keyName = NameOf(key);
  const std::string_view valueText = CutAtLineBreak(value);

  const std::string data = ReadFileBytes(FFileName);
  const std::vector<Line> lines = SplitLines(data);
  std::vector<std::string_view> out = TextsOf(lines);

  size_t header = FindSection(lines, sectionName);
  if (header == npos) {
    std::string head = "[" + std::string(sectionName) + "]";
    std::string line = std::string(keyName) + "=" + std::string(valueText);
    if (!out.empty() && !Trim(out.back()).empty()) out.push_back("");
    out.push_back(head);
    out.push_back(line);
    WriteFileAtomically(FFileName, JoinLines(out));
    return;
  }
  size_t k = FindKey(lines, header, keyName);
  if (k != npos) {
    // The key keeps its spelling in the file; only the value changes.
    std::string line = std::string(lines[k].Name) + "=" + std::string(valueText);
    out[k] = line;
    WriteFileAtomically(FFileName, JoinLines(out));
    return;
  }
  // A new key goes after the section's last non-blank line, before blank lines that separate it
  // from the next section.
  size_t at = header + 1;
  for (size_t i = header + 1, end = SectionEnd(lines, header); i < end; ++i)
    if (!Trim(lines[i].Text).empty()) at = i + 1;
  std::string line = std::string(keyName) + "=" + std::string(valueText);
  out.insert(out.begin() + std::ptrdiff_t(at), line);
  WriteFileAtomically(FFileName, JoinLines(out));
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) {
  std::vector<std::string> names;
  const std::string data = ReadFileBytes(FFileName);
  const std::vector<Line> lines = SplitLines(data);
  size_t header = FindSection(lines, NameOf(section));
  if (header == npos) return names;
  size_t total = 0;
  for (size_t i = header + 1, end = SectionEnd(lines, header); i < end; ++i) {
    if (lines[i].Kind != LineKind::Key || lines[i].Name.empty()) continue;
    total += lines[i].Name.size() + 1;
    if (total > MaxSectionNamesBytes) break;
    names.emplace_back(lines[i].Name);
  }
  return names;
}

void TIniFile::EraseSection(const std::string& section) {
  const std::string_view name = NameOf(section);
  const std::string data = ReadFileBytes(FFileName);
  const std::vector<Line> lines = SplitLines(data);
  // Every section of the name goes, so that a second one of the same name does not show through.
  std::vector<std::string_view> out;
  out.reserve(lines.size());
  bool changed = false;
  for (size_t i = 0; i < lines.size();) {
    if (lines[i].Kind == LineKind::Section && AnsiSameText(lines[i].Name, name)) {
      i = SectionEnd(lines, i);
      changed = true;
    } else {
      out.push_back(lines[i].Text);
      ++i;
    }
  }
  if (changed) WriteFileAtomically(FFileName, JoinLines(out));
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  const std::string data = ReadFileBytes(FFileName);
  const std::vector<Line> lines = SplitLines(data);
  size_t header = FindSection(lines, NameOf(section));
  if (header == npos) return;
  const std::string_view keyName = NameOf(key);
  const size_t end = SectionEnd(lines, header);
  std::vector<std::string_view> out;
  out.reserve(lines.size());
  bool changed = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > header && i < end && lines[i].Kind == LineKind::Key &&
        AnsiSameText(lines[i].Name, keyName)) {
      changed = true;
      continue;
    }
    out.push_back(lines[i].Text);
  }
  if (changed) WriteFileAtomically(FFileName, JoinLines(out));
}
