// File and tree helpers of krvreg's IMPORT and EXPORT.
#pragma once

#include <string>

#include "platform/RegTree.h"
#include "platform/Registry.h"

namespace krv {

// The whole file as bytes. False with "Api(file): reason" in `why`.
bool ReadWholeFile(const std::string& file, std::string* bytes, std::string* why);
// Writes a temporary file beside `file` and renames it over `file`, so an
// existing file is either replaced whole or left as it was. A symbolic link is
// written through; the old file's permissions are kept.
bool WriteWholeFile(const std::string& file, const std::string& bytes, std::string* why);
bool FileExists(const std::string& file);

// A copy of the key and everything below it, read through the interface. The
// copy is named after the last part of `key` (the hive's name for the root).
RegKey CopyKeyTree(Registry& reg, Hive hive, const std::string& key);

}  // namespace krv
