// Command lines of the suite's administrator tools and compressor.
#pragma once

#include <string>

#include "base/cuAppError.h"
#include "platform/FileSystem.h"

namespace krv {

class krvLibrary;

inline constexpr char kCompressorArgs[] = "/Backend";

// The full path of the administrator tools in the suite's program folder;
// when that file is missing, message 500 names it and the result is "".
std::string cmnCmdLineAdminTools(krvLibrary& lib, FileSystem& fs, cuAppError& err);

// The compressor in the suite's program folder with its argument "/Backend":
// `file` and `args` separately, and both joined by a blank as the result.
std::string cmnCmdLineCompressor(krvLibrary& lib, std::string* file, std::string* args);

}  // namespace krv
