// Pure helpers for Windows paths, usable on every host. Unless told
// otherwise, "\" and "/" both separate; registry paths pass "\" alone.
#pragma once

#include <string>
#include <string_view>

namespace krv {

inline constexpr std::string_view kWinPathSeparators = "\\/";

// Folder part up to the last separator, with it ("C:\a\" for "C:\a\b.txt")
// or without it; "" if there is none.
std::string WinPathFolder(std::string_view path, bool keep_separator = true,
                          std::string_view seps = kWinPathSeparators);
// Last component ("b.txt" for "C:\a\b.txt"); the whole text without a separator.
std::string WinPathName(std::string_view path, std::string_view seps = kWinPathSeparators);
// Last component without its extension ("C:\x\prog.exe" gives "prog").
std::string WinPathStem(std::string_view path, std::string_view seps = kWinPathSeparators);
// Joins with exactly one backslash between the parts.
std::string WinPathJoin(std::string_view folder, std::string_view name);
// Appends `sep` unless the text already ends with it; an empty text stays empty.
std::string WinPathAddSeparator(std::string_view text, std::string_view sep = "\\");
// Removes one trailing `sep` if present.
std::string WinPathRemoveSeparator(std::string_view text, std::string_view sep = "\\");
// Starts with two separators, "\" or "/" in any mix.
bool WinPathIsUnc(std::string_view path);
// Removes `levels` trailing folder levels; the result ends with `sep`. With
// "\" it never rises above a drive root or a UNC share; with "/" it climbs
// on with "../".
std::string WinPathUp(std::string_view path, int levels, char sep = '\\');
// Case-insensitive match with "*" and "?" wildcards, as Windows matches file names.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace krv
