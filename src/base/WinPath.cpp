#include "base/WinPath.h"

#include <algorithm>

#include "base/Text.h"

namespace krv {

std::string WinPathFolder(std::string_view path, bool keep_separator, std::string_view seps) {
  const size_t pos = path.find_last_of(seps);
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, keep_separator ? pos + 1 : pos));
}

std::string WinPathName(std::string_view path, std::string_view seps) {
  const size_t pos = path.find_last_of(seps);
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string WinPathStem(std::string_view path, std::string_view seps) {
  std::string name = WinPathName(path, seps);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string WinPathAddSeparator(std::string_view text, std::string_view sep) {
  std::string out(text);
  if (!out.empty() && !sep.empty() && !out.ends_with(sep)) out += sep;
  return out;
}

std::string WinPathRemoveSeparator(std::string_view text, std::string_view sep) {
  if (!sep.empty() && text.ends_with(sep)) text.remove_suffix(sep.size());
  return std::string(text);
}

bool WinPathIsUnc(std::string_view path) {
  return path.size() >= 2 && kWinPathSeparators.find(path[0]) != std::string_view::npos &&
         kWinPathSeparators.find(path[1]) != std::string_view::npos;
}

std::string WinPathUp(std::string_view path, int levels, char sep) {
  std::string root;
  std::string rest(path);
  if (sep == '\\') {
    if (WinPathIsUnc(path)) {
      // Root: the two leading separators, the server and the separator after
      // it; "/" counts as well, as Windows reads "//server/share" as UNC.
      size_t third = std::string::npos;
      for (size_t i = 0, found = 0; i < path.size(); ++i) {
        if ((path[i] == '\\' || path[i] == '/') && ++found == 3) {
          third = i;
          break;
        }
      }
      root = third == std::string::npos ? path : path.substr(0, third + 1);
      rest = third == std::string::npos ? "" : path.substr(third + 1);
    } else if (path.size() == 3) {
      return std::string(path);  // a drive root
    }
  }
  if (rest.empty() || rest.back() != sep) rest += sep;
  const int n = static_cast<int>(std::count(rest.begin(), rest.end(), sep));
  if (sep == '/' && levels >= n) {
    // Above the start of a slash path: "../" once more than the levels missing.
    std::string out;
    for (int i = 0; i <= levels - n; ++i) out += "../";
    return out + rest;
  }
  const int keep = std::max(n - levels, 1);
  size_t cut = 0;
  for (int found = 0; cut < rest.size(); ++cut) {
    if (rest[cut] == sep && ++found == keep) break;
  }
  return root + rest.substr(0, cut + 1);
}

std::string WinPathJoin(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  size_t skip = 0;
  while (skip < name.size() && name[skip] == '\\') ++skip;
  if (!out.empty() || !folder.empty()) out += '\\';
  out.append(name.substr(skip));
  return out;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  const std::string p = LowerCase(pattern);
  const std::string n = LowerCase(name);
  // Iterative matcher with one backtrack point for the last '*'.
  size_t pi = 0, ni = 0, star = std::string::npos, mark = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      mark = ni;
    } else if (star != std::string::npos) {
      pi = star + 1;
      ni = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace krv
