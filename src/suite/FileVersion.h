// Version texts of the suite's files: a PE file reports the version of its
// version resource; any other file (the Access databases) the "File" key of
// section "Version" in its side file "<file>.version".
#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace krv {

// "" when the file has no version that can be read.
std::string FileVersion(FileSystem& fs, const std::string& path);

// Path of the side file that carries the version of an Access file.
std::string VersionSideFile(const std::string& path);

}  // namespace krv
