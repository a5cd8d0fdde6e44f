#include "suite/StoredTimestamp.h"

#include <chrono>

#include "base/Text.h"

namespace krv {

namespace {

// The number of `count` digits at `at`, or nullopt.
std::optional<int> Digits(std::string_view s, size_t at, size_t count) {
  if (at + count > s.size()) return std::nullopt;
  int value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    value = value * 10 + (s[i] - '0');
  }
  return value;
}

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

std::optional<CivilDate> Valid(std::optional<int> y, std::optional<int> m, std::optional<int> d) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (!y || !m || !d || *y < 1601 || *y > 9999 || *m < 1 || *m > 12 || *d < 1) return std::nullopt;
  const int last = kDays[*m - 1] + (*m == 2 && IsLeap(*y) ? 1 : 0);
  if (*d > last) return std::nullopt;
  return CivilDate{*y, *m, *d};
}

// After a date: nothing, or `sep` and a time made of digits and ':' (and a fraction or zone for ISO).
bool TimeTail(std::string_view rest, std::string_view seps, std::string_view allowed) {
  if (rest.empty()) return true;
  if (seps.find(rest[0]) == std::string_view::npos || rest.size() < 2) return false;
  for (char c : rest.substr(1)) {
    if ((c < '0' || c > '9') && allowed.find(c) == std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

std::optional<CivilDate> ParseStoredTimestamp(std::string_view text) {
  const std::string_view s = Trim(text);
  if ((s.size() == 14 || s.size() == 8) && AllDigits(s)) {
    const auto date = Valid(Digits(s, 0, 4), Digits(s, 4, 2), Digits(s, 6, 2));
    if (!date || s.size() == 8) return date;
    const auto h = Digits(s, 8, 2), n = Digits(s, 10, 2), sec = Digits(s, 12, 2);
    if (*h > 23 || *n > 59 || *sec > 59) return std::nullopt;
    return date;
  }
  if (s.size() >= 10 && s[4] == '-' && s[7] == '-') {
    if (!TimeTail(s.substr(10), "T ", ":.,+-Z")) return std::nullopt;
    return Valid(Digits(s, 0, 4), Digits(s, 5, 2), Digits(s, 8, 2));
  }
  if (s.size() >= 10 && s[2] == '.' && s[5] == '.') {
    if (!TimeTail(s.substr(10), " ", ":")) return std::nullopt;
    return Valid(Digits(s, 6, 4), Digits(s, 3, 2), Digits(s, 0, 2));
  }
  return std::nullopt;
}

int64_t DayNumber(const CivilDate& date) {
  using namespace std::chrono;
  const sys_days d = year{date.year} / month{static_cast<unsigned>(date.month)} / day{static_cast<unsigned>(date.day)};
  return d.time_since_epoch().count();
}

}  // namespace krv
