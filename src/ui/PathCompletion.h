// Completion of folder and file names in a typed Windows path, as a shell
// completes them on Tab.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace krv {

struct PathCompletion {
  std::string text;                     // the typed path, completed as far as it is unambiguous
  std::vector<std::string> candidates;  // names that fit the last part (folders end with '\')
};

// Completes the last part of `typed` against the entries of its folder: one
// fitting name is taken whole (a folder with its backslash), several give
// their common beginning (letter case as stored). Letter case is ignored.
PathCompletion CompletePath(FileSystem& fs, const std::string& typed);

}  // namespace krv
