// Feeds arbitrary text to the stored-timestamp reader: a date it reports is
// a real one, and reads back the same in each of the accepted forms.
#include <cstdint>
#include <cstdio>
#include <string>

#include "suite/StoredTimestamp.h"
#include "testing/FuzzCheck.h"

namespace {

std::string Format(const char* pattern, int a, int b, int c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, pattern, a, b, c);
  return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto date = krv::ParseStoredTimestamp(text);
  if (!date) return 0;
  krv::FuzzCheck(date->year >= 1601 && date->year <= 9999 && date->month >= 1 && date->month <= 12 && date->day >= 1);
  const krv::CivilDate next_month{date->year + date->month / 12, date->month % 12 + 1, 1};
  krv::FuzzCheck(krv::DayNumber(next_month) > krv::DayNumber(*date));  // the day lies inside its month
  krv::FuzzCheck(krv::DayNumber(next_month) - krv::DayNumber(*date) <= 31);
  for (const std::string& again : {Format("%04d%02d%02d120000", date->year, date->month, date->day),
                                   Format("%04d-%02d-%02d", date->year, date->month, date->day),
                                   Format("%02d.%02d.%04d", date->day, date->month, date->year)}) {
    krv::FuzzCheck(krv::ParseStoredTimestamp(again) == date);
  }
  return 0;
}
