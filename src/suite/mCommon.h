// Common procedures of the starter: the top-level error display and the
// helpers that address settings below the product root.
#pragma once

#include <string>

#include "base/Dialogs.h"
#include "base/cmnShowFatalError.h"
#include "base/cuAppError.h"
#include "platform/Registry.h"

namespace krv {

class krvLibrary;

// The product root that the library reports, a backslash, and `name`, split at
// its last backslash into `key` and `value_name`.
void cmnParseRegConstant(krvLibrary& lib, const std::string& name, std::string* key, std::string* value_name);

// Cuts a leading "HKCU\", "HKLM\", "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER"
// (tried in this order, any letter case) off `path` and names its hive. The
// long names are cut without the backslash after them. False, `path`
// unchanged and `hive` Hive{} (0) when none matches.
bool cmnSplitHive(std::string* path, Hive* hive);

}  // namespace krv
