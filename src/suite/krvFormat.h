// The interface library's format service: file sizes and stored timestamps
// as the user reads them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/System.h"

namespace krv {

// "512 Bytes", "1,5 KB", "976,6 MB", "1,0 GB" (German decimal comma).
std::string FormatFileSize(uint64_t bytes);
// "yyyymmddhhnnss" as "dd.mm.yyyy hh:nn"; any other text comes back unchanged.
std::string FormatStoredTimestamp(const std::string& stamp);
// `time` as "yyyymmddhhnnss", the form the settings store keeps.
std::string StoredTimestamp(const LocalTime& time);
// "dd.mm.yyyy".
std::string FormatDate(const LocalTime& date);
// Day boundaries from `from` to `to` (negative when `to` lies before).
int32_t DaysBetween(const LocalTime& from, const LocalTime& to);

}  // namespace krv
