#include "suite/BackupNames.h"

#include <cstdio>

#include "base/Text.h"

namespace krv {
namespace {

constexpr size_t kStampLength = 16;  // "_YYYYMMDD_HHMMSS"
constexpr char kTempPrefix[] = "~";
constexpr char kTempSuffix[] = ".tmp";

bool Digits(std::string_view s, int* value) {
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *value = v;
  return true;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// "_YYYYMMDD_HHMMSS" with a real date and time.
bool ParseStamp(std::string_view s, LocalTime* t) {
  if (s.size() != kStampLength || s[0] != '_' || s[9] != '_') return false;
  LocalTime v;
  if (!Digits(s.substr(1, 4), &v.year) || !Digits(s.substr(5, 2), &v.month) || !Digits(s.substr(7, 2), &v.day) ||
      !Digits(s.substr(10, 2), &v.hour) || !Digits(s.substr(12, 2), &v.minute) || !Digits(s.substr(14, 2), &v.second)) {
    return false;
  }
  if (v.year < 1900 || v.month < 1 || v.month > 12 || v.day < 1 || v.day > DaysInMonth(v.year, v.month) ||
      v.hour > 23 || v.minute > 59 || v.second > 59) {
    return false;
  }
  *t = v;
  return true;
}

// Splits "<stem>_YYYYMMDD_HHMMSS<ext>" when it ends with `ext`; the stem is never empty.
bool SplitCopyName(std::string_view ext, std::string_view name, std::string_view* stem, LocalTime* t) {
  if (name.size() < ext.size() + kStampLength + 1 || !IEndsWith(name, ext)) return false;
  const std::string_view rest = name.substr(0, name.size() - ext.size());
  if (!ParseStamp(rest.substr(rest.size() - kStampLength), t)) return false;
  *stem = rest.substr(0, rest.size() - kStampLength);
  return true;
}

std::string_view Stem(std::string_view name) { return name.substr(0, name.size() - FileExtension(name).size()); }

}  // namespace

std::string_view FileExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? std::string_view() : name.substr(dot);
}

std::string BackupCopyName(std::string_view backend_name, const LocalTime& t) {
  char stamp[kStampLength + 8];
  std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d_%02d%02d%02d", t.year % 10000, t.month % 100, t.day % 100,
                t.hour % 100, t.minute % 100, t.second % 100);
  return std::string(Stem(backend_name)) + stamp + std::string(FileExtension(backend_name));
}

std::string BackupTempName(std::string_view copy_name) { return kTempPrefix + std::string(copy_name) + kTempSuffix; }

bool ParseBackupCopyName(std::string_view backend_name, std::string_view name, LocalTime* t) {
  std::string_view stem;
  LocalTime parsed;
  if (!SplitCopyName(FileExtension(backend_name), name, &stem, &parsed) || !IEquals(stem, Stem(backend_name))) {
    return false;
  }
  *t = parsed;
  return true;
}

bool IsAnyBackupCopyName(std::string_view ext, std::string_view name) {
  std::string_view stem;
  LocalTime t;
  return SplitCopyName(ext, name, &stem, &t) && !stem.empty();
}

bool IsBackupTempName(std::string_view backend_name, std::string_view name) {
  if (!IStartsWith(name, kTempPrefix) || !IEndsWith(name, kTempSuffix)) return false;
  const std::string_view inner = name.substr(1, name.size() - 1 - (sizeof kTempSuffix - 1));
  LocalTime t;
  return ParseBackupCopyName(backend_name, inner, &t);
}

}  // namespace krv
