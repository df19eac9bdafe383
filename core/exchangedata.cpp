#include "core/exchangedata.h"

#include <algorithm>
#include <limits>

bool ReadPokedNumber(std::string_view text, int32_t& value) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t i = 0, n = text.size();
  while (i < n && blank(text[i])) ++i;
  while (n > i && blank(text[n - 1])) --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == n) return false;
  int64_t v = 0;
  constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
  for (; i < n; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    v = std::min(limit, v * 10 + (c - '0'));
  }
  if (negative)
    value = int32_t(-std::min(v, limit));
  else
    value = int32_t(std::min(v, limit - 1));
  return true;
}

int32_t CrLfToDocPosition(std::u16string_view text, int64_t pos) {
  const int64_t end = std::clamp<int64_t>(pos, 0, int64_t(text.size()));
  int64_t breaks = 0;
  for (int64_t k = 0; k < end; ++k) {
    if (text[size_t(k)] != u'\r' || size_t(k) + 1 >= text.size() || text[size_t(k) + 1] != u'\n')
      continue;
    // Inside the pair the position is the line's end; past it the break counted twice.
    if (k + 1 == end) return int32_t(k - breaks);
    ++breaks;
    ++k;
  }
  return int32_t(end - breaks);
}
