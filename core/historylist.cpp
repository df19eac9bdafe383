#include "core/historylist.h"

#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/ansi.h"
#include "core/eioerror.h"

TDateTime DateTimeNow() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  std::tm local{};
  local = *std::localtime(&secs);  // one thread: the shared buffer is safe
  // Days from 1899-12-30 to the local civil date, plus the local time of day.
  const auto date = year_month_day{year{local.tm_year + 1900}, month{unsigned(local.tm_mon + 1)},
                                   day{unsigned(local.tm_mday)}};
  const auto epoch = year_month_day{year{1899}, month{12}, day{30}};
  const double days = double((sys_days{date} - sys_days{epoch}).count());
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const double secondsOfDay =
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + double(millis) / 1000.0;
  return days + secondsOfDay / 86400.0;
}

std::string FormatTimeStamp(TDateTime t) {
  // A value that cannot be read back would end the reading of every later entry.
  if (!std::isfinite(t)) t = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14E", t);  // "4.51234567890123E+04", "-1.5...E-05"
  std::string s(buf);
  const size_t e = s.find('E');
  std::string mantissa = s.substr(0, e);
  const char expSign = s[e + 1];
  std::string digits = s.substr(e + 2);
  while (digits.size() < 4) digits.insert(digits.begin(), '0');
  if (mantissa[0] != '-') mantissa.insert(mantissa.begin(), ' ');
  return mantissa + 'E' + expSign + digits;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Parses a real number at the start of s and removes it; false when there is none.
bool TakeReal(std::string_view& s, double& value) {
  // from_chars takes no "+"; it does take "inf" and "nan", which no stored time stamp is.
  const size_t skip = (!s.empty() && s[0] == '+') ? 1 : 0;
  if (s.size() <= skip) return false;
  const char c = s[skip];
  if (!(std::isdigit((unsigned char)c) || c == '.' || (c == '-' && skip == 0))) return false;
  const auto r =
      std::from_chars(s.data() + skip, s.data() + s.size(), value, std::chars_format::general);
  if (r.ec != std::errc() || !std::isfinite(value)) return false;
  s.remove_prefix(size_t(r.ptr - s.data()));
  return true;
}

bool TakeInteger(std::string_view& s, int64_t& value) {
  size_t skip = (!s.empty() && s[0] == '+') ? 1 : 0;
  const char* first = s.data() + skip;
  if (skip && first < s.data() + s.size() && *first == '-') return false;
  const auto r = std::from_chars(first, s.data() + s.size(), value);
  if (r.ec != std::errc()) return false;
  s.remove_prefix(size_t(r.ptr - s.data()));
  return true;
}

// One line without its end (CR LF, LF or CR); false at the end of the input or for a line
// longer than the limit, which counts as damage.
bool ReadLine(std::istream& in, std::string& line) {
  line.clear();
  int c = in.get();
  if (c == std::char_traits<char>::eof()) return false;
  while (c != std::char_traits<char>::eof()) {
    if (c == '\n') return true;
    if (c == '\r') {
      if (in.peek() == '\n') in.get();
      return true;
    }
    if (line.size() >= THistoryList::MaxLineLength) return false;
    line.push_back(char(c));
    c = in.get();
  }
  return true;
}

bool ParseEntryHeader(std::string_view line, TDateTime& stamp, uint16_t& place) {
  std::string_view s = Trim(line);
  if (!TakeReal(s, stamp)) return false;
  if (s.empty() || !IsBlank(s.front())) return false;
  s = Trim(s);
  int64_t n = 0;
  if (!TakeInteger(s, n)) return false;
  place = uint16_t(uint64_t(n) & 0xFFFF);
  // The rest of the line is ignored, as the line end is skipped after the numbers.
  return true;
}

// A line break inside a text would split one entry into two lines of the file.
std::string OneLine(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

bool ParseTimeStamp(std::string_view s, TDateTime& t) {
  s = Trim(s);
  double v = 0;
  if (!TakeReal(s, v) || !s.empty()) return false;
  t = v;
  return true;
}

void THistoryList::Clear() {
  Texts.clear();
  Times.clear();
  Places.clear();
  EditText.clear();
}

void THistoryList::Insert(int p, uint16_t place, const std::string& text, TDateTime stamp) {
  if (p < 0) p = 0;
  if (p > Count()) p = Count();
  Texts.insert(Texts.begin() + p, text);
  Times.insert(Times.begin() + p, stamp);
  Places.insert(Places.begin() + p, place);
}

int THistoryList::IndexOfText(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (AnsiSameText(Texts[size_t(i)], s)) return i;
  return -1;
}

int THistoryList::TextPosition(std::string_view text) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (CompareBytes(Texts[size_t(mid)], text) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int THistoryList::TimePosition(TDateTime stamp) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (Times[size_t(mid)] < stamp)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

int THistoryList::PlacePosition(uint16_t place) const {
  int lo = 0, hi = Count();
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (Places[size_t(mid)] < place)
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

void THistoryList::MoveEntry(int from, int to) {
  // Shifts the entries between the two places by one towards from.
  while (from < to) {
    SwapEntries(from, from + 1);
    ++from;
  }
  while (from > to) {
    SwapEntries(from, from - 1);
    --from;
  }
}

int THistoryList::Add(uint16_t place, const std::string& text, TDateTime stamp) {
  if (text.empty()) return -1;
  const int i = IndexOfText(text);
  int p = 0;
  switch (Sorted) {
    case byTime:
      p = TimePosition(stamp);
      break;
    case byIndex:
      p = PlacePosition(place);
      break;
    default:
      p = TextPosition(text);
      break;
  }
  if (i == -1) {
    Insert(p, place, text, stamp);
    return p;
  }
  if (p > i) --p;
  MoveEntry(i, p);
  Texts[size_t(p)] = text;
  Times[size_t(p)] = stamp;
  Places[size_t(p)] = place;
  return p;
}

void THistoryList::SwapEntries(int a, int b) {
  std::swap(Texts[size_t(a)], Texts[size_t(b)]);
  std::swap(Times[size_t(a)], Times[size_t(b)]);
  std::swap(Places[size_t(a)], Places[size_t(b)]);
}

void THistoryList::SetSorted(TSorted order) {
  Sorted = order;
  auto less = [this](int a, int b) {
    switch (Sorted) {
      case byTime:
        return Times[size_t(a)] < Times[size_t(b)];
      case byIndex:
        return Places[size_t(a)] < Places[size_t(b)];
      default:
        return CompareBytes(Texts[size_t(a)], Texts[size_t(b)]) < 0;
    }
  };
  const int n = Count();
  for (int j = 0; j < n; ++j) {
    int m = j;
    for (int k = j + 1; k < n; ++k)
      if (less(k, m)) m = k;
    if (m != j) SwapEntries(j, m);
  }
}

int THistoryList::PreviousByTime(TDateTime x) const {
  int best = -1;
  for (int i = 0; i < Count(); ++i) {
    const TDateTime t = Times[size_t(i)];
    if (t > 0 && t < x && (best < 0 || t > Times[size_t(best)])) best = i;
  }
  return best;
}

int THistoryList::NextByTime(TDateTime x) const {
  int best = -1;
  for (int i = 0; i < Count(); ++i) {
    const TDateTime t = Times[size_t(i)];
    if (t > x && t < 1e20 && (best < 0 || t < Times[size_t(best)])) best = i;
  }
  return best;
}

void THistoryList::LoadFromStream(std::istream& in) {
  Clear();
  std::string line;
  if (!ReadLine(in, line)) return;
  std::string_view s = Trim(line);
  int64_t order = 0;
  // Only the three orders exist; any other first line is damage.
  if (!TakeInteger(s, order) || !s.empty() || order < 0 || order > 2) return;
  Sorted = TSorted(order);
  if (!ReadLine(in, line)) return;
  EditText = line;
  std::string text;
  while (Count() < int(MaxEntries)) {
    TDateTime stamp = 0;
    uint16_t place = 0;
    if (!ReadLine(in, line) || !ParseEntryHeader(line, stamp, place)) return;
    if (!ReadLine(in, text)) return;
    Texts.push_back(text);
    Times.push_back(stamp);
    Places.push_back(place);
  }
}

void THistoryList::LoadFromBytes(std::string_view bytes) {
  std::istringstream in{std::string(bytes)};
  LoadFromStream(in);
}

bool THistoryList::LoadFromFile(const std::string& fileName) {
  Clear();
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  LoadFromStream(in);
  return true;
}

std::string THistoryList::SaveToBytes() const {
  std::string out;
  out += std::to_string(int(Sorted));
  out += "\r\n";
  out += OneLine(EditText);
  out += "\r\n";
  for (int i = 0; i < Count(); ++i) {
    out += FormatTimeStamp(Times[size_t(i)]);
    out += ' ';
    out += std::to_string(Places[size_t(i)]);
    out += "\r\n";
    out += OneLine(Texts[size_t(i)]);
    out += "\r\n";
  }
  return out;
}

void THistoryList::SaveToFile(const std::string& fileName) const {
  const std::string bytes = SaveToBytes();
  const std::string temp = fileName + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) RaiseInOutError(ioAccessDenied, fileName);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      RaiseInOutError(ioDiskWrite, fileName);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, fileName, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    RaiseInOutError(ioAccessDenied, fileName);
  }
}
