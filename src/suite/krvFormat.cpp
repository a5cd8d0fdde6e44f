#include "suite/krvFormat.h"

#include <cctype>
#include <chrono>
#include <cstdio>

namespace krv {

std::string FormatFileSize(uint64_t bytes) {
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  if (bytes < 1024) return std::to_string(bytes) + " Bytes";
  double value = static_cast<double>(bytes) / 1024;
  size_t unit = 0;
  while (value >= 1024 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char out[32];
  std::snprintf(out, sizeof(out), "%.1f %s", value, kUnits[unit]);
  std::string text = out;
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text[dot] = ',';
  return text;
}

std::string FormatStoredTimestamp(const std::string& stamp) {
  if (stamp.size() != 14) return stamp;
  for (const char c : stamp)
    if (!std::isdigit(static_cast<unsigned char>(c))) return stamp;
  return stamp.substr(6, 2) + "." + stamp.substr(4, 2) + "." + stamp.substr(0, 4) + " " + stamp.substr(8, 2) + ":" +
         stamp.substr(10, 2);
}

std::string StoredTimestamp(const LocalTime& t) {
  char out[32];
  std::snprintf(out, sizeof(out), "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return out;
}

std::string FormatDate(const LocalTime& d) {
  char out[24];
  std::snprintf(out, sizeof(out), "%02d.%02d.%04d", d.day, d.month, d.year);
  return out;
}

int32_t DaysBetween(const LocalTime& from, const LocalTime& to) {
  using namespace std::chrono;
  const auto serial = [](const LocalTime& t) {
    return sys_days(year{t.year} / month{static_cast<unsigned>(t.month)} / day{static_cast<unsigned>(t.day)});
  };
  return static_cast<int32_t>((serial(to) - serial(from)).count());
}

}  // namespace krv
