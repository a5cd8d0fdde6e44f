// Pure helpers for Windows paths, usable on every host.
#pragma once

#include <string>
#include <string_view>

namespace krv {

// Folder part including its trailing backslash ("C:\a\" for "C:\a\b.txt"); "" if none.
std::string WinPathFolder(std::string_view path);
// Last component ("b.txt" for "C:\a\b.txt").
std::string WinPathName(std::string_view path);
// The file name without a trailing ".exe" (any letter case): "krv25".
std::string WinPathStem(std::string_view path);
// Joins with exactly one backslash between the parts.
std::string WinPathJoin(std::string_view folder, std::string_view name);
// Case-insensitive match with "*" and "?" wildcards, as Windows matches file names.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace krv
