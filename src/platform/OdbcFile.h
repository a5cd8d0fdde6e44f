// What the ODBC service needs from the host, one file per platform: the path
// the driver understands, the backend's first bytes, and the Jet drivers.
#pragma once

#include <string>
#include <vector>

#include "platform/Database.h"

namespace krv {

// The Windows path turned into what the driver manager passes to the driver.
bool OdbcDriverPath(const std::string& win_path, std::string* driver_path, std::string* err);

// Up to `max` first bytes of the file; kFileMissing, kLocked or kFailed on failure.
DbStatus ReadFileHead(const std::string& win_path, size_t max, std::string* head, std::string* err);

// ODBC driver names for the engine, tried in order.
std::vector<std::string> OdbcDriverNames(DbEngine engine);

}  // namespace krv
