// The interface library's timestamp conversion: the stored timestamp texts
// the suite's programs write (the version information's "last online
// update"), read as a calendar date. Accepted forms, blanks around ignored:
//   "yyyymmddhhnnss"          the suite's own ("yyyymmdd" alone too)
//   "yyyy-mm-dd"              ISO, optionally followed by "T" or a blank and a time
//   "dd.mm.yyyy"              German, optionally followed by a blank and a time
// The time, when present, is not checked beyond being there; the date must
// be a real one (leap years included) between the years 1601 and 9999.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace krv {

struct CivilDate {
  int year = 0, month = 0, day = 0;
  bool operator==(const CivilDate&) const = default;
};

// nullopt when the text is none of the forms above.
std::optional<CivilDate> ParseStoredTimestamp(std::string_view text);

// Days since 1970-01-01 (negative before); the day boundaries between two
// dates are the difference of their numbers.
int64_t DayNumber(const CivilDate& date);

}  // namespace krv
